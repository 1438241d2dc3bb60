#pragma once

#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventTouch.h"
#include "engine/events/Touch.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace enginetest {

// A running scene, textures registered in the cache under plain names, and touches given in design
// points (y up) that enter through the real dispatcher.
class WidgetFixture : public HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
    }

    // A w x h texture of one colour, cached under `name` so that widgets load it as a file.
    static void addTexture(const std::string& name, int w, int h) {
        std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4, 255);
        cocos2d::Image image;
        image.initWithRawData(rgba.data(), rgba.size(), w, h);
        director()->getTextureCache()->addImage(&image, name);
    }

    void touch(cocos2d::EventTouch::EventCode code, const cocos2d::Vec2& design) {
        const cocos2d::Vec2 view(design.x, 810.0f - design.y);
        if (code == cocos2d::EventTouch::EventCode::BEGAN || !current) {
            current = cocos2d::Touch::create(0, view);
        } else {
            current->setTouchInfo(0, view.x, view.y);
        }
        cocos2d::EventTouch event;
        event.setEventCode(code);
        event.setTouches({current.get()});
        director()->getEventDispatcher()->dispatchEvent(&event);
        if (code == cocos2d::EventTouch::EventCode::ENDED ||
            code == cocos2d::EventTouch::EventCode::CANCELLED) {
            current = nullptr;
        }
    }
    void began(const cocos2d::Vec2& p) { touch(cocos2d::EventTouch::EventCode::BEGAN, p); }
    void moved(const cocos2d::Vec2& p) { touch(cocos2d::EventTouch::EventCode::MOVED, p); }
    void ended(const cocos2d::Vec2& p) { touch(cocos2d::EventTouch::EventCode::ENDED, p); }
    void cancelled(const cocos2d::Vec2& p) { touch(cocos2d::EventTouch::EventCode::CANCELLED, p); }
    void tap(const cocos2d::Vec2& p) {
        began(p);
        ended(p);
    }

public:
    cocos2d::Scene* scene = nullptr;
    cocos2d::RefPtr<cocos2d::Touch> current;
};

}  // namespace enginetest
