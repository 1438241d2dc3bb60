#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/events/EventKeyboard.h"
#include "engine/math/Vec2.h"
#include "engine/ui/Widget.h"

#include "ui/ScreenBase.h"

namespace cocos2d {
class Event;
class Layer;
class Ref;
class Touch;
}  // namespace cocos2d

class MinigameBase;

// The full screen on which one minigame runs: the common frame of "ui/Minigames" (Skip, Reset and Menu,
// the curator's small avatar, the result text, a place for the win chat) over the game of
// currentMinigameKind at currentMinigameLevel. It drives the game every frame and forwards the first
// touch of a gesture to it. A loss starts the same level again 1.5 s later, unless the level cannot be
// played at all: then the loss stays on the screen and only the way back works. A win advances and saves
// the kind's level, the curator congratulates and the screen is left after 10 s or when the chat is
// closed. Leaving tells the launcher (onFinished) whether the game was won without Skip, then pops back
// to the root scene; without a launcher the screen fades to the gallery.
class MinigameScreen : public ScreenBase {
public:
    static constexpr int32_t kNoTouch = -666;
    static constexpr int kGameZOrder = 1;
    static constexpr int kUiZOrder = 10;
    static constexpr int kTutorialZOrder = 50;
    static constexpr int kTwoMatchTutorial = 21;
    static constexpr float kRestartDelaySeconds = 1.5f;
    static constexpr float kLeaveAfterWinSeconds = 10.0f;

    // Reads currentMinigameKind and currentMinigameLevel: the launcher sets both first.
    static MinigameScreen* create();
    ~MinigameScreen() override;

    bool init() override;
    void update(float dt) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    // Called once, with whether the game was won (a Skip does not count), when the screen is left.
    void setOnFinished(const std::function<void(bool)>& onFinished) { _onFinished = onFinished; }
    // Replaces the running game by a new one of kind and level.
    void startMinigame(int32_t kind, int32_t level);
    // Stops the game and leaves the screen; only the first call acts. Without a launcher waiting
    // for the result the gallery follows, faded in over 1.0 s.
    void exitMinigames();

    void handleTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void handleTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void handleTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void onSkipButton(cocos2d::Ref* sender, cocos2d::ui::Widget::TouchEventType type);
    void onResetButton(cocos2d::Ref* sender, cocos2d::ui::Widget::TouchEventType type);
    void onMenuButton(cocos2d::Ref* sender, cocos2d::ui::Widget::TouchEventType type);

    MinigameBase* getGame() const { return _game; }
    cocos2d::Node* getUi() const { return _ui; }
    int32_t getLevel() const { return _level; }
    int32_t getKind() const { return _kind; }
    bool isEnded() const { return _ended; }
    // Lost a level that cannot be played: no restart comes, and only Menu and Backspace still act.
    bool isStranded() const { return _stranded; }
    bool isSkipped() const { return _skipped; }
    bool isLeaving() const { return _leaving; }
    bool isTouching() const { return _touching; }
    int32_t getTouchId() const { return _touchId; }
    const cocos2d::Vec2& getResultTextPosition() const { return _resultTextPosition; }

protected:
    MinigameScreen();

private:
    void addAvatar();
    void onLost();
    void onWon();
    // `hold`: the text stays up instead of fading out before the restart.
    void showLossText(bool hold);
    void strand();
    void showWinChat();
    // The game's restart flag set, then the same kind and level started again.
    void restartMinigame();

    MinigameBase* _game = nullptr;
    cocos2d::Node* _ui = nullptr;
    int32_t _level = 0;
    int32_t _kind = 0;
    bool _ended = true;
    std::function<void(bool)> _onFinished;
    cocos2d::Vec2 _resultTextPosition;
    bool _skipped = false;
    int32_t _touchId = kNoTouch;
    bool _touching = false;
    // Set by the first exitMinigames: Menu, Backspace, the chat and the timer may all ask in one frame,
    // and the launcher must hear the result once.
    bool _leaving = false;
    bool _stranded = false;
};
