#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/math/Vec2.h"

#include "minigames/ConveyorPuzzleLevel.h"
#include "minigames/MinigameBase.h"

class NodeFromJson;

namespace cocos2d {
class Label;
}  // namespace cocos2d

// The conveyor sorter, minigame kind 3. Items ride the belt from the left edge of the screen to the
// right for the level's time; accepted items are swiped down, illicit ones up, and a coin that comes
// once per level is collected by any swipe. A wrong swipe, or a sortable item that leaves the belt
// unsorted, is a mistake; the third loses the level. When the time is over and the belt is empty the
// level is won. A profile's first game of this kind starts with a short demonstration.
class ConveyorPuzzle : public MinigameBase {
public:
    // Recorded among the profile's shown tutorials once the demonstration has run.
    static constexpr int32_t kDemonstrationTutorial = 666;
    static constexpr float kSegmentSpacing = 66.0f;
    // The band of the screen, in the UI's space, where a swipe has to begin.
    static constexpr float kSortBand = 270.0f;
    static constexpr float kCoinDelay = 30.0f;
    static constexpr int32_t kMistakesToLose = 3;

    static ConveyorPuzzle* create();
    ~ConveyorPuzzle() override;

    bool init() override;
    void update(float dt) override;
    bool touchBegan(const cocos2d::Vec2& location) override;
    bool touchEnded(const cocos2d::Vec2& location) override;
    void stop() override;
    void preloadSounds() override;
    void unloadSounds() override;

    // Oldest first: the front item is the one furthest right, the one the next swipe sorts.
    const std::vector<cocos2d::Node*>& getItems() const { return _items; }
    cocos2d::Node* getPickedItem() const { return _pickedItem; }
    int32_t getMistakes() const { return _mistakes; }
    float getTimeLeft() const { return _timeLeft; }
    bool isCoinPending() const { return _coinPending; }
    int32_t getBeltSound() const { return _beltSound; }
    const ConveyorPuzzleLevel& getLevel() const { return _level; }
    cocos2d::Node* getUi() const { return _ui; }
    cocos2d::Node* getBelt() const { return _belt; }
    cocos2d::Label* getCounter() const { return _counter; }
    float getSpawnX() const { return _spawnX; }
    float getExitX() const { return _exitX; }

private:
    ConveyorPuzzle() = default;

    void spawnItem(bool first);
    void sortItem();
    void addMistake();
    void checkTimeUp();
    bool startConveyorTutorial();
    void runDemonstration();
    void showTimeLeft();
    void stopBeltSound();
    cocos2d::Node* makeItem(const std::string& name, bool fromDescription);

    cocos2d::Node* _background = nullptr;
    cocos2d::Node* _ui = nullptr;
    cocos2d::Node* _belt = nullptr;
    cocos2d::Vec2 _lastTouch;
    bool _pressed = false;
    cocos2d::Vec2 _touchStart;
    ConveyorPuzzleLevel _level;
    std::unique_ptr<NodeFromJson> _loader;
    int32_t _mistakes = 0;
    std::vector<cocos2d::Node*> _items;
    cocos2d::Node* _pickedItem = nullptr;
    float _segmentSpacing = kSegmentSpacing;
    int32_t _beltSound = -1;
    float _beltStartX = 0.0f;
    int32_t _lastAccepted = -1;
    int32_t _lastIllicit = -1;
    bool _coinPending = false;
    float _timeLeft = 0.0f;
    cocos2d::Label* _counter = nullptr;
    float _spawnX = 0.0f;
    cocos2d::Node* _finger = nullptr;
    cocos2d::Node* _demoAccepted = nullptr;
    cocos2d::Node* _demoIllicit = nullptr;
    cocos2d::Node* _gun = nullptr;
    cocos2d::Node* _palette = nullptr;
    float _exitX = 0.0f;
    bool _sortArmed = false;
};
