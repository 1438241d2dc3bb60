#pragma once

#include <new>
#include <vector>

#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/scene/Node.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameState.h"

// A stand-in for the minigame screen in the games' play tests: it updates the game every frame and
// forwards the first touch of a gesture in world coordinates.
namespace minigametest {

// What the host gives a game, and no more.
class Host : public cocos2d::Node {
public:
    static Host* create() {
        auto* host = new (std::nothrow) Host();
        if (host != nullptr && host->init()) {
            host->autorelease();
            host->scheduleUpdate();
            host->listen();
            return host;
        }
        delete host;
        return nullptr;
    }

    // A host already running the given game.
    static Host* create(MinigameBase* game) {
        Host* host = create();
        if (host != nullptr) {
            host->setGame(game);
        }
        return host;
    }

    // Replaces the running game as the host does after a loss or on Reset: the old one is told whether it
    // is being restarted (a restarted game leaves its sheets loaded for the new one).
    void setGame(MinigameBase* game, bool restart = true) {
        if (_game != nullptr) {
            _game->setRestart(restart);
            _game->cleanup();
            removeChild(_game, true);
        }
        _game = game;
        addChild(game, 1);
    }

    void update(float dt) override {
        if (_game == nullptr || _game->getState() == MinigameState::Won ||
            _game->getState() == MinigameState::Lost) {
            return;
        }
        _game->update(dt);
    }

private:
    void listen() {
        auto* listener = cocos2d::EventListenerTouchAllAtOnce::create();
        listener->onTouchesBegan = [this](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            if (_game != nullptr && _touchId < 0 && !touches.empty()) {
                _touchId = touches.front()->getID();
                _game->touchBegan(touches.front()->getLocation());
            }
        };
        listener->onTouchesMoved = [this](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            for (cocos2d::Touch* touch : touches) {
                if (_game != nullptr && touch->getID() == _touchId) {
                    _game->touchMoved(touch->getLocation());
                }
            }
        };
        auto ended = [this](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            for (cocos2d::Touch* touch : touches) {
                if (_game != nullptr && touch->getID() == _touchId) {
                    _touchId = -1;
                    _game->touchEnded(touch->getLocation());
                }
            }
        };
        listener->onTouchesEnded = ended;
        listener->onTouchesCancelled = ended;
        getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    }

    MinigameBase* _game = nullptr;
    int _touchId = -1;
};

}  // namespace minigametest
