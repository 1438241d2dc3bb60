#include "gameBoard/CSrayToolState.h"

#include <new>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/events/Touch.h"
#include "GameSound.h"
#include "gameBoard/GameBoard.h"
#include "nodes/LevelNode.h"
#include "ui/NodeFromJson.h"

using cocos2d::Vec2;

CSrayToolState* CSrayToolState::create() {
    auto* state = new (std::nothrow) CSrayToolState();
    if (state != nullptr) {
        state->autorelease();
    }
    return state;
}

void CSrayToolState::onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    const Vec2 location = touches.front()->getLocation();
    if (touches.size() == 1 && _board->isInsidePicture(location)) {
        if (_board->hasCurrentItem()) {
            return;
        }
        playDropAnimation(location);
        // The delayed drop keeps its state alive: the player may pick another tool meanwhile.
        cocos2d::RefPtr<CSrayToolState> self(this);
        _board->runAction(cocos2d::Sequence::create(
            cocos2d::DelayTime::create(kDropDelay),
            cocos2d::CallFunc::create([self, location] { self->dropHitBoard(location); })));
        return;
    }
    GameSound::getInstance().playEffect("tool_wrong", false);
}

void CSrayToolState::playDropAnimation(const Vec2& location) {
    NodeLevel* level = _board->getNodeLevel();
    if (level == nullptr) {
        return;
    }
    cocos2d::Node* drop = NodeFromJson("ui/Game").createNode("drop");
    if (drop == nullptr) {
        return;
    }
    drop->setGlobalZOrder(2.0f);
    drop->setAnchorPoint(Vec2(0.5f, 0.0f));
    drop->setScale(2.0f);
    drop->setOpacity(0);
    const Vec2 target = level->convertToNodeSpace(location) + Vec2(0.0f, -10.0f);
    drop->setPosition(target + Vec2(0.0f, 90.0f));
    level->addChild(drop, level->nextZOrder(false));
    drop->runAction(cocos2d::Sequence::create(
        cocos2d::FadeIn::create(0.05f), cocos2d::DelayTime::create(0.12f), cocos2d::FadeOut::create(0.05f)));
    drop->runAction(cocos2d::MoveTo::create(0.22f, target));
    drop->runAction(cocos2d::Sequence::create(
        cocos2d::ScaleTo::create(0.1f, 1.0f), cocos2d::DelayTime::create(0.05f),
        cocos2d::ScaleTo::create(0.07f, 1.5f, 0.15f),
        cocos2d::CallFunc::create([] { GameSound::getInstance().playEffect("drop", false); }),
        cocos2d::RemoveSelf::create(true)));
    // The splash where the drop lands; the level node owns the timer, so a level that goes takes it along.
    level->runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(0.2f), cocos2d::CallFunc::create([level, target] {
            cocos2d::ParticleSystemQuad* splash =
                cocos2d::ParticleSystemQuad::create("particles/reagentdrop.plist");
            if (splash != nullptr) {
                splash->setPosition(target);
                splash->setAutoRemoveOnFinish(true);
                level->addChild(splash, level->nextZOrder(false));
            }
        })));
}

void CSrayToolState::dropHitBoard(const Vec2& location) {
    if (_board == nullptr) {
        return;
    }
    HiddenObject* item = _board->findItemAt(location);
    if (item == nullptr) {
        cocos2d::log("CSrayToolState::dropHitBoard");
        stopSound(true);
        _soundId = GameSound::getInstance().playEffect("reagent_miss", false);
        _board->reportMiss(location, ToolState::Sray);
        return;
    }
    if (!_board->hasCurrentItem()) {
        _board->hitItem(item, location);
        _board->clearForcedItem();
    }
}
