// Any bytes as a tutorial's file: the popup builds its steps or none, and stepping through them ends
// with the popup closed and its callback run once.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"

#include "FuzzSupport.h"
#include "ui/JsonDocumentCache.h"
#include "ui/TutorialScreen.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::writeResource(TutorialScreen::tutorialPath(1), data, size);
    JsonDocumentCache::getInstance().clear();
    cocos2d::RefPtr<cocos2d::Scene> scene(cocos2d::Scene::create());
    cocos2d::RefPtr<TutorialScreen> popup(TutorialScreen::create());
    if (popup) {
        scene->addChild(popup.get());
        int closed = 0;
        popup->showTutorial(1, [&closed] { ++closed; });
        // Never more steps than the file has elements; a bound keeps a broken loop from hanging.
        for (int step = 0; step < 10000 && closed == 0; ++step) {
            popup->nextStep();
        }
        if (closed != 1) {
            std::abort();
        }
        popup->removeFromParent();
    }
    fuzzsupport::stepFrames(1);
    return 0;
}
