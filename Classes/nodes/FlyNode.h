#pragma once

#include <functional>

#include "engine/base/RefPtr.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Layer.h"

namespace cocos2d {
class Event;
class Node;
class Speed;
class Touch;
}  // namespace cocos2d

// The level screen's layer that holds one fly. The fly enters from above, wanders over the screen in
// short random hops, flees in a wide curve when the pointer comes near and looks at the pointer. A
// click on it swats it: a swatter slaps down, the fly turns into a blot for two seconds and a new fly
// enters; the owner hears of every swat through the callback given to setOnSwat.
//
// The layer's origin is the screen's centre: its owner, centred on the visible area, adds it at (0, 0).
// Named "flyNode"; its touch listener swallows the touches it claims (clicks on the fly), so that they
// never reach the board below.
class FlyNode : public cocos2d::Layer {
public:
    static constexpr float kFlyScale = 0.7f;
    static constexpr float kFleeScale = 1.1f;
    static constexpr float kFleeDistance = 100.0f;
    static constexpr float kEyeOffset = 4.0f;
    // Each hop moves by less than this on each axis.
    static constexpr int kHopRange = 100;
    static constexpr float kWingFrameSeconds = 0.01f;
    static constexpr float kWingsFlying = 1.0f;
    static constexpr float kWingsResting = 0.01f;
    static constexpr float kFlightSeconds = 2.0f;
    static constexpr float kToCenterSeconds = 2.0f;
    static constexpr float kListenersBackAfterArrival = 1.0f;
    static constexpr float kBlotSeconds = 2.0f;
    static constexpr float kBlotFadeSeconds = 0.2f;
    static constexpr float kSwatterGrowSeconds = 0.2f;
    static constexpr int kSwatterTag = 11;
    static constexpr int kSwatterZOrder = 1;

    static FlyNode* create();
    bool init() override;
    ~FlyNode() override;

    // Follows the pointer with the eyes and starts a flight when the pointer comes near.
    void update(float dt) override;
    // Claims (and swats) a touch on a swattable fly; any other touch goes on to the layers below.
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;

    // Runs after every swat with the click's location (design points, y up).
    void setOnSwat(std::function<void(const cocos2d::Vec2&)> callback) { _onSwat = std::move(callback); }
    // The tutorial's approach: the fly stops, flies to the screen's centre in 2 s and stays there until
    // swatted; `onArrived` runs on arrival and the layer hears input again 1 s later. Without a fly, or
    // while a swat is under way, nothing happens.
    void flyToCenter(std::function<void()> onArrived);

    // The fly sprite, or after a swat the blot; null when there is none.
    cocos2d::Node* getFly() const { return _fly; }
    cocos2d::Node* getEyes() const { return _eyes; }
    bool canFlee() const { return _canFlee; }
    bool isSwattable() const { return _swattable; }
    const cocos2d::Vec2& getFleeTarget() const { return _fleeTarget; }
    const cocos2d::Vec2& getMousePosition() const { return _mousePosition; }
    const cocos2d::Vec2& getHop() const { return _hop; }
    // The wing animation's speed control; null after a swat.
    cocos2d::Speed* getWingSpeed() const { return _wingSpeed.get(); }

protected:
    FlyNode() = default;

private:
    void spawnFly();
    void animateWings();
    void setWingSpeed(float speed);
    void wander();
    void flee();
    void swat(const cocos2d::Vec2& location);
    void placeBlot(const cocos2d::Vec2& at, cocos2d::Node* blot);
    void respawn();
    // A point of the visible area, in the layer's space.
    cocos2d::Vec2 randomScreenPoint() const;

    bool _canFlee = true;
    bool _swattable = true;
    cocos2d::RefPtr<cocos2d::Speed> _wingSpeed;
    cocos2d::Node* _fly = nullptr;
    cocos2d::Node* _eyes = nullptr;
    // Where the eyes sit when they look straight at the viewer.
    cocos2d::Vec2 _eyesRest;
    cocos2d::Vec2 _fleeTarget;
    cocos2d::Vec2 _mousePosition;
    cocos2d::Vec2 _hop;
    std::function<void(const cocos2d::Vec2&)> _onSwat;
};
