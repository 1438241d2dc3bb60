#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"

#include "minigames/DropsPuzzleLevel.h"
#include "minigames/MinigameBase.h"

class NodeFromJson;

// The drop catcher. Four coloured reagent drops hang in four lanes at the top; in each lane a drop
// grows, waits for its turn and falls, and the player drags a cart along the bottom to catch them. A
// drop that reaches the floor leaves a spot and counts as a miss; the level's number of misses loses
// it. When the level's time is over and no drop is left in any lane, the level is won.
//
// Its look is "Minigames/DropsPuzzle": "background", and "UI" holding "drops_layer" (with
// "cart_back", the catching zone, the lane templates "drop_0".."drop_3" and the spot places
// "spot_0".."spot_3") and "cart". The host drives it: update every frame, one touch at a time.
class DropsPuzzle : public MinigameBase {
public:
    static constexpr int kLaneCount = DropsPuzzleLevel::kLaneCount;
    // How far the cart travels either side of where it starts.
    static constexpr float kCartTravel = 450.0f;
    // At most one drop starts to fall per this many seconds.
    static constexpr float kFallGap = 0.7f;
    static constexpr float kLossDelay = 0.5f;
    // The catching zone is the cart back's box, this much wider on each side and deeper below.
    static constexpr float kCatchSideMargin = 10.0f;
    static constexpr float kCatchBelowMargin = 30.0f;
    // A drop falls to this height above its lane's spot.
    static constexpr float kLandingLift = 20.0f;
    static constexpr float kLandedShrinkSeconds = 0.2f;

    enum class LaneState : int32_t {
        // Waiting for its timer.
        Idle = 0,
        Growing = 1,
        // Grown, waiting for its turn to fall.
        Ready = 2,
        Falling = 3,
    };

    static DropsPuzzle* create();
    ~DropsPuzzle() override;

    // Builds the look, reads the level of currentMinigameLevel and lays out the lanes. False, with one
    // log line, when the description lacks an element the game cannot play without.
    bool init() override;
    // Only while Playing with input unlocked: the clock, the lanes, the catches, the end.
    void update(float dt) override;

    // Dragging the cart; locations are in world coordinates.
    bool touchBegan(const cocos2d::Vec2& location) override;
    bool touchMoved(const cocos2d::Vec2& location) override;
    bool touchEnded(const cocos2d::Vec2& location) override;
    // Also stops every lane's drop where it is.
    void stop() override;
    void preloadSounds() override;
    void unloadSounds() override;

    // The steps of update, in the order it runs them.
    // Idle lanes count down while there is time left and then grow a drop; ready lanes fall, the
    // lowest-numbered first, at most one per kFallGap.
    void updateLanes(float dt);
    // Takes every drop whose top centre lies in the catching zone.
    void catchDrops();
    // Lost (after kLossDelay) at the level's misses; won once the time is over and no drop is left.
    void checkDropsEnd();

    // What a lane does next, one step at a time (the steps the lanes take by themselves).
    void growDrop(int lane);
    void dropFall(int lane);
    void dropLanded(cocos2d::Node* drop, int lane);

    // The catching zone in the drops layer's space.
    cocos2d::Rect catchZone() const;

    const DropsPuzzleLevel& getLevel() const { return _level; }
    LaneState getLaneState(int lane) const;
    // The lane's drop while it grows, waits or falls; null when the lane is idle.
    cocos2d::Node* getLaneDrop(int lane) const;
    float getLaneTimer(int lane) const;
    // Where a lane's new drop hangs (its top centre) and where its missed drop lands.
    cocos2d::Vec2 getDropHome(int lane) const;
    cocos2d::Vec2 getSpotPlace(int lane) const;
    const cocos2d::Color4F& getLaneColor(int lane) const;
    int32_t getMisses() const { return _misses; }
    float getTimeLeft() const { return _timeLeft; }
    float getFallClock() const { return _fallClock; }
    bool isDragging() const { return _dragging; }
    bool isPressed() const { return _pressed; }
    float getCartMinX() const { return _cartMinX; }
    float getCartMaxX() const { return _cartMaxX; }
    cocos2d::Node* getUI() const { return _ui; }
    cocos2d::Node* getDropsLayer() const { return _dropsLayer; }
    cocos2d::Node* getCart() const { return _cart; }
    cocos2d::Node* getCartBack() const { return _cartBack; }

private:
    DropsPuzzle();
    void setupLanes();
    bool isLane(int lane) const { return lane >= 0 && lane < kLaneCount; }
    // A random wait before a lane's first drop: 0.3 to 3.27 s.
    static float firstDropDelay();
    // A random wait before a lane's next drop, counted once it is idle again: 0 to 1.998 s.
    static float nextDropDelay();
    void removeLaneDrop(int lane);

    cocos2d::Node* _background = nullptr;
    cocos2d::Node* _dropsLayer = nullptr;
    cocos2d::Node* _ui = nullptr;
    cocos2d::Vec2 _lastTouch;
    bool _pressed = false;
    cocos2d::Vec2 _touchStart;
    float _grabOffset = 0.0f;
    bool _dragging = false;
    float _cartMinX = 0.0f;
    float _cartMaxX = 0.0f;
    DropsPuzzleLevel _level;
    std::unique_ptr<NodeFromJson> _loader;
    std::array<cocos2d::Vec2, kLaneCount> _dropHomes{};
    std::array<cocos2d::Vec2, kLaneCount> _spotPlaces{};
    std::array<float, kLaneCount> _laneTimers{};
    std::array<LaneState, kLaneCount> _laneStates{};
    cocos2d::Node* _cart = nullptr;
    cocos2d::Node* _cartBack = nullptr;
    float _cartBackOffset = 0.0f;
    int32_t _misses = 0;
    // Children of the drops layer while a lane holds them.
    std::array<cocos2d::Node*, kLaneCount> _laneDrops{};
    std::array<cocos2d::Color4F, kLaneCount> _laneColors{};
    float _timeLeft = 0.0f;
    float _fallClock = 0.0f;
};
