#pragma once

#include "engine/math/Vec2.h"
#include "engine/scene/Layer.h"
#include "gameBoard/ToolState.h"

namespace cocos2d {
class Node;
}

class EraseableGameObject;
class GameBoard;
class HiddenObject;
class RestoreToolSelector;
class TutorialScreen;

// The numbered tutorials inside a level, driven by the level's own events. In the intro level it walks
// the player through spray, knife, brush, hint and eraser on three items, one forced item at a time,
// then brings in the curator and the finish button; later levels get the fly's, the cut's and the
// hint button's one-off lessons. It opens, advances and closes each tutorial itself (at most one at a
// time, each once per profile): taps on a tutorial do not advance it.
class GameTutorialsLayer : public cocos2d::Layer {
public:
    static constexpr int kPulseTag = 99;
    static constexpr int kIntroTutorial = 1;
    static constexpr int kFlyTutorial = 8;
    static constexpr int kCutTutorial = 9;
    static constexpr int kCuratorTutorial = 41;

    static GameTutorialsLayer* create();
    ~GameTutorialsLayer() override;
    bool init() override;

    void setup(cocos2d::Node* hudRoot, GameBoard* board, RestoreToolSelector* toolBar);

    // True when the popup was made: none is open and the profile has not seen this one.
    bool showTutorial(int id);
    // Advances the open tutorial when it has this number; true when that closed it.
    bool closeTutorial(int id);

    // --- the level's events, after the level screen's own handling -------------------------------
    void startIntroLevel();
    void onItemHit(HiddenObject* item, const cocos2d::Vec2& position);
    void onItemErased(HiddenObject* item, const cocos2d::Vec2& position);
    void onDamageFixed(EraseableGameObject* damage, const cocos2d::Vec2& position);
    void onMiss(const cocos2d::Vec2& position, ToolState tool);
    void onHintShown(const cocos2d::Vec2& position);
    void onToolSelected(int tool);
    void onFlyArrived();
    void onFlySwatted();
    void onLevelFinished();

    void onTutorialClosed();
    void onCuratorChatClosed();
    void showCuratorChat();
    void pulseHintButton();

    TutorialScreen* getOpenTutorial() const { return _openTutorial; }

protected:
    GameTutorialsLayer() = default;

private:
    cocos2d::Node* hudPanel(int tag) const;
    cocos2d::Node* hudButton(int panelTag, const char* name) const;
    void setHudButtonEnabled(int panelTag, const char* name, bool enabled);
    void stopHintPulse();

    GameBoard* _board = nullptr;
    RestoreToolSelector* _toolBar = nullptr;
    cocos2d::Node* _hudRoot = nullptr;
    TutorialScreen* _openTutorial = nullptr;
};
