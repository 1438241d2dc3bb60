#pragma once

#include <vector>

#include "engine/base/Ref.h"
#include "engine/math/Vec2.h"

namespace cocos2d {
class Event;
class Node;
class Touch;
}  // namespace cocos2d

// One-finger pan and two-finger pinch of a target node inside its parent's bounds, fed with the
// owner's own touch events (it has no listener). It can also animate the target to its largest scale
// at a point and back to its smallest scale at its home position (0, 0).
//
// The first move after the set of touches changes only re-arms the component, so a finger that comes
// or goes never makes the target jump.
class CPanZoomComponent : public cocos2d::Ref {
public:
    static constexpr float kDefaultMinScale = 0.5f;
    static constexpr float kDefaultMaxScale = 2.0f;
    static constexpr float kDefaultZoomDuration = 0.5f;

    CPanZoomComponent();
    ~CPanZoomComponent() override;

    virtual float getMinScale() const { return _minScale; }
    // Ignored unless above 0.
    virtual void setMinScale(float scale);
    virtual float getMaxScale() const { return _maxScale; }
    // Ignored unless above 0.
    virtual void setMaxScale(float scale);
    virtual bool getOptionFlag() const { return _optionFlag; }
    virtual void setOptionFlag(bool flag) { _optionFlag = flag; }
    virtual bool getTouchFlag() const { return _touchFlag; }
    virtual void setTouchFlag(bool flag) { _touchFlag = flag; }
    virtual float getZoomDuration() const { return _zoomDuration; }
    // Seconds of an animated zoom over the whole range; must be above 0.
    virtual void setZoomDuration(float seconds);

    // False for a null target. The target is not retained: the owner keeps it alive.
    virtual bool init(cocos2d::Node* target);
    // Animates to the largest scale so that p (in the target's own space) stays put; not clamped.
    virtual void zoomIn(const cocos2d::Vec2& p);
    virtual void zoomInAtTouch(cocos2d::Touch* touch);
    // Animates back to the smallest scale at (0, 0); nothing when already there.
    virtual void zoomOut();

    // Stored touches are retained until they end or are cancelled.
    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    // One move step over the stored touches; the ones passed in are not read.
    void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);

    // The part of a full-range zoom still to go from the current scale down to the minimum.
    float getZoomOutDuration() const;

    void setPanEnabled(bool enabled) { _panEnabled = enabled; }
    bool isPanEnabled() const { return _panEnabled; }
    void setZoomEnabled(bool enabled) { _zoomEnabled = enabled; }
    bool isZoomEnabled() const { return _zoomEnabled; }
    cocos2d::Node* getTarget() const { return _target; }
    size_t getTouchCount() const { return _touches.size(); }

    // Where `node` must stand so that `p` (node space) stays in place when its scale becomes `scale`.
    static cocos2d::Vec2 positionForScale(const cocos2d::Node* node, const cocos2d::Vec2& p, float scale);
    // The position limited so the scaled target covers its parent, or home (0, 0) when it is no larger.
    cocos2d::Vec2 clampPosition(const cocos2d::Vec2& position) const;

private:
    void applyTouches();
    void removeTouches(const std::vector<cocos2d::Touch*>& touches);

    float _minScale = kDefaultMinScale;
    float _maxScale = kDefaultMaxScale;
    bool _optionFlag = false;
    bool _touchFlag = false;
    float _zoomDuration = kDefaultZoomDuration;
    bool _panEnabled = true;
    bool _zoomEnabled = true;
    std::vector<cocos2d::Touch*> _touches;
    cocos2d::Node* _target = nullptr;
    bool _touchesChanged = true;
};
