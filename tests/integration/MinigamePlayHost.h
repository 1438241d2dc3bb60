#pragma once

#include <vector>

#include "engine/base/Director.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/scene/Node.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameState.h"

namespace minigametest {

// Drives one game as its host does.
class PlayHost : public cocos2d::Node {
public:
    static PlayHost* create(MinigameBase* game) {
        auto* host = new PlayHost();
        host->init();
        host->autorelease();
        host->_game = game;
        host->addChild(game, 1);
        host->scheduleUpdate();
        auto* listener = cocos2d::EventListenerTouchAllAtOnce::create();
        listener->onTouchesBegan = [host](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            if (host->_touchId < 0 && !touches.empty()) {
                host->_touchId = touches.front()->getID();
                host->_game->touchBegan(touches.front()->getLocation());
            }
        };
        listener->onTouchesMoved = [host](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            for (cocos2d::Touch* touch : touches) {
                if (touch->getID() == host->_touchId) {
                    host->_game->touchMoved(touch->getLocation());
                }
            }
        };
        listener->onTouchesEnded = [host](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            for (cocos2d::Touch* touch : touches) {
                if (touch->getID() == host->_touchId) {
                    host->_touchId = -1;
                    host->_game->touchEnded(touch->getLocation());
                }
            }
        };
        listener->onTouchesCancelled = listener->onTouchesEnded;
        cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(
            listener, host);
        return host;
    }

    void update(float dt) override {
        if (_game->getState() != MinigameState::Won && _game->getState() != MinigameState::Lost) {
            _game->update(dt);
        }
    }

private:
    MinigameBase* _game = nullptr;
    int _touchId = -1;
};

}  // namespace minigametest
