#pragma once

#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/math/Vec2.h"
#include "gameBoard/ToolState.h"

namespace cocos2d {
class Event;
class Touch;
}  // namespace cocos2d

class GameBoard;

// What the board does with touches on the picture while one tool is selected. A state lives until the
// next selection replaces it; the board retires it late, so a handler may run to its end after
// asking for another tool.
class CBaseState : public cocos2d::Ref {
public:
    static constexpr int kToolSoundTag = 333;

    ~CBaseState() override;

    // Keeps the board; true for every state.
    virtual bool attach(GameBoard* board);
    virtual void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) = 0;
    virtual void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) = 0;
    virtual void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) = 0;
    virtual void onTouchesCancelled(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) = 0;

    ToolState getToolId() const { return _toolId; }
    GameBoard* getBoard() const { return _board; }
    int getSoundId() const { return _soundId; }
    const std::string& getSoundName() const { return _soundName; }
    // Stops the loop sound, if one plays, and forgets it.
    void stopSound(bool fade);

    // The name of a state in the change log: "None" to "Needle", empty for the rest.
    static const char* stateName(int toolId);

protected:
    CBaseState(ToolState toolId, std::string soundName);

    // Starts the tool's loop sound if needed and lets it fall silent shortly after the last move.
    void playToolSound();
    // Leaves the damage a missed stroke makes (none for the needle) and reports the miss.
    void reportStrokeMiss(const cocos2d::Vec2& endPoint, const cocos2d::Vec2& damagePoint);

    ToolState _toolId;
    GameBoard* _board = nullptr;
    int _soundId;
    std::string _soundName;
};
