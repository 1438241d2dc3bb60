#include "gameBoard/DamageFactory.h"

#include <cstdio>
#include <string>

#include "engine/actions/ActionEase.h"
#include "engine/actions/FadeIn.h"
#include "engine/base/Log.h"
#include "GameSound.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/SewGameObject.h"
#include "gameBoard/StoryLevel.h"
#include "nodes/LevelNode.h"

namespace {

constexpr float kFadeIn = 0.2f;
const cocos2d::Color3B kBlotColor{85, 186, 230};

std::string frameName(const char* format, int variant) {
    char name[32];
    std::snprintf(name, sizeof(name), format, variant);
    return name;
}

// Adds the object to the level, gives it its place, kind and tag, and prepares it; null when it
// cannot be made (it is then taken off the level again).
template <class T>
T* place(GameBoard* board, const char* format, const cocos2d::Vec2& position, int variant, int id,
         DefectKind kind, void (*setUp)(T*)) {
    if (board == nullptr || board->getNodeLevel() == nullptr || isIntroLevel()) {
        return nullptr;
    }
    if (variant < 1 || variant > 3) {
        cocos2d::log("Damage variant %d ignored", variant);
        return nullptr;
    }
    const std::string frame = frameName(format, variant);
    T* object = T::createWithSpriteFrameName(frame);
    if (object == nullptr) {
        cocos2d::log("Damage frame '%s' is not loaded", frame.c_str());
        return nullptr;
    }
    NodeLevel* level = board->getNodeLevel();
    level->addDamage(object);
    object->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
    object->setPosition(position);
    object->setKind(kind);
    if (setUp != nullptr) {
        setUp(object);
    }
    if (!object->prepare()) {
        level->removeDamage(object);
        object->removeFromParent();
        return nullptr;
    }
    object->setTag(id);
    return object;
}

void fadeIn(cocos2d::Node* object) {
    object->setOpacity(0);
    object->runAction(cocos2d::EaseExponentialOut::create(cocos2d::FadeIn::create(kFadeIn)));
}

}  // namespace

EraseableGameObject* createBlot(GameBoard* board, const cocos2d::Vec2& position, int variant, int id,
                                bool animate) {
    EraseableGameObject* blot = place<EraseableGameObject>(board, "blot_%d.png", position, variant, id,
                                                           DefectKind::Blot, [](EraseableGameObject* object) {
                                                               object->setColor(kBlotColor);
                                                               object->setBrushName("eraser_knife");
                                                           });
    if (blot != nullptr && animate) {
        GameSound::getInstance().playEffect("defect_paint", false);
        fadeIn(blot);
    }
    return blot;
}

EraseableGameObject* createScrape(GameBoard* board, const cocos2d::Vec2& position, int variant, int id,
                                  bool animate) {
    EraseableGameObject* scrape = place<EraseableGameObject>(board, "scrape_%d.png", position, variant, id,
                                                             DefectKind::Scrape, nullptr);
    if (scrape != nullptr && animate) {
        fadeIn(scrape);
        GameSound::getInstance().playEffect("defect_rub", false);
    }
    return scrape;
}

EraseableGameObject* createCut(GameBoard* board, const cocos2d::Vec2& position, int variant, int id,
                               bool animate) {
    SewGameObject* cut =
        place<SewGameObject>(board, "cut_%d.png", position, variant, id, DefectKind::Cut, nullptr);
    if (cut != nullptr && animate) {
        GameSound::getInstance().playEffect("defect_tear", false);
    }
    return cut;
}
