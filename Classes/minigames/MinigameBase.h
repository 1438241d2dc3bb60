#pragma once

#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"

#include "minigames/MinigameState.h"

// The base node of every minigame. A game never runs by itself: its host creates it, calls its update
// every frame, forwards one touch at a time in world coordinates, polls its state right after the
// update, calls win for the Skip button and stop before it leaves. A game ends only through win and
// lose, which make the state final: a delayed result that comes after the level was decided (a Skip
// during a pending loss, a second win) changes nothing.
class MinigameBase : public cocos2d::Node {
public:
    ~MinigameBase() override;

    // State Playing, input unlocked.
    bool init() override;

    // Touch entry points of the host; the host ignores the results. A touch that begins while input is
    // locked starts nothing in any game.
    virtual bool touchBegan(const cocos2d::Vec2& location);
    virtual bool touchEnded(const cocos2d::Vec2& location);
    virtual bool touchMoved(const cocos2d::Vec2& location);
    // State Lost and input locked, unless the level is already decided.
    virtual void lose();
    // Lost, and the level cannot be played at all (its pictures are missing): starting it again would
    // only lose again, so the host leaves the player on the loss with a way back.
    void loseForGood();
    // State Won and input locked, and one win record {currentMinigameKind, currentMinigameLevel} for
    // the current profile (saved by the host), unless the level is already decided.
    virtual void win();
    // Before the host leaves, in any state: stops the game node's actions and locks input.
    virtual void stop();
    // Nothing calls these: the games that preload their effects do it in their constructors.
    virtual void preloadSounds();
    virtual void unloadSounds();

    MinigameState getState() const { return _state; }
    // For the games' own states (Playing, Waiting, Finishing). Won and Lost come only from win and lose
    // (asking for them here is logged and ignored), and a decided level keeps its state.
    void setState(MinigameState state);
    // Won or Lost.
    bool isDecided() const;
    // Lost through loseForGood.
    bool isLostForGood() const { return _lostForGood; }

    bool isInputLocked() const { return _inputLocked; }
    void setInputLocked(bool locked) { _inputLocked = locked; }
    // Input unlocked and state Playing: what most games require before a touch starts a move.
    bool takesInput() const { return !_inputLocked && _state == MinigameState::Playing; }

    // Set by the host just before it replaces this game by a new one of the same kind and level; the
    // destructor then keeps the game's sounds, frames and textures loaded for the new game.
    bool isRestart() const { return _restart; }
    void setRestart(bool restart) { _restart = restart; }

protected:
    MinigameBase() = default;

private:
    MinigameState _state = MinigameState::Playing;
    bool _inputLocked = false;
    bool _restart = false;
    bool _lostForGood = false;
};
