#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "engine/base/Vector.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "engine/ui/Layout.h"

namespace cocos2d {

class Touch;

namespace ui {

// A clipped view onto a larger inner container. The inner container's position is the scroll
// position: (0, 0) shows its bottom-left corner, and it moves between (view - inner) and 0 on each
// scrolling axis. Children added to the scroll view go to the inner container.
//
// A drag moves the container by the touch delta along the direction. Past a bound, bounce halves the
// movement and the release springs back in 0.3 s; without bounce the container stops at the bound. On
// release, inertia carries on at the speed of the last 0.1 s of moves and comes to rest in 0.5 s. Every
// movement (drag, inertia, auto-scroll, bounce) goes through scrollChildren.
class ScrollView : public Layout {
public:
    enum class Direction { NONE, VERTICAL, HORIZONTAL, BOTH };

    static ScrollView* create();
    bool init() override;

    virtual void setDirection(Direction direction) { _direction = direction; }
    Direction getDirection() const { return _direction; }
    void setInertiaScrollEnabled(bool enabled) { _inertiaEnabled = enabled; }
    bool isInertiaScrollEnabled() const { return _inertiaEnabled; }
    void setBounceEnabled(bool enabled) { _bounceEnabled = enabled; }
    bool isBounceEnabled() const { return _bounceEnabled; }

    // The view size. The inner container grows to at least this size.
    void setContentSize(const Size& size) override;
    // At least the view size on each axis. The scroll position is kept.
    void setInnerContainerSize(const Size& size);
    const Size& getInnerContainerSize() const;
    Layout* getInnerContainer() const { return _innerContainer; }
    void setInnerContainerPosition(const Vec2& position);
    const Vec2& getInnerContainerPosition() const;

    // 0 % is the left (top) end, 100 % the right (bottom) end.
    void scrollToPercentHorizontal(float percent, float timeInSec, bool attenuated);
    void scrollToPercentVertical(float percent, float timeInSec, bool attenuated);
    void jumpToPercentHorizontal(float percent);
    void jumpToPercentVertical(float percent);

    // These act on the inner container.
    void addChild(Node* child) override;
    void addChild(Node* child, int localZOrder) override;
    void addChild(Node* child, int localZOrder, int tag) override;
    void addChild(Node* child, int localZOrder, const std::string& name) override;
    void removeChild(Node* child, bool cleanup = true) override;
    void removeAllChildren() override;
    void removeAllChildrenWithCleanup(bool cleanup) override;
    Vector<Node*>& getChildren();
    const Vector<Node*>& getChildren() const;
    ssize_t getChildrenCount() const;
    Node* getChildByTag(int tag) const;
    Node* getChildByName(const std::string& name) const;

    void onEnter() override;
    // Runs the auto-scroll, inertia and bounce; scheduled while the view runs.
    void update(float dt) override;

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;
    void onTouchCancelled(Touch* touch, Event* event) override;

    // The steps of a touch; a widget inside the view also hands a drag over through them.
    virtual void handlePressLogic(Touch* touch);
    virtual void handleMoveLogic(Touch* touch);
    virtual void handleReleaseLogic(Touch* touch);
    // Moves the inner container by the delta along the direction; true when it moved.
    virtual bool scrollChildren(float deltaX, float deltaY);

    // (ours) A touch is down on the view.
    bool isTouching() const { return _touching; }
    // (ours) An auto-scroll, inertia or bounce is running.
    bool isAutoScrolling() const { return _autoScrolling || _inertiaScrolling; }

protected:
    ScrollView() = default;

    // Glides to the destination (kept inside the bounds on the scrolling axes) and reaches it exactly
    // when the time is up; attenuated, it decelerates towards the end.
    void startAutoScrollChildrenWithDestination(const Vec2& destination, float timeInSec, bool attenuated);
    void stopAutoScroll();

    // The lowest and highest container positions.
    Vec2 minPosition() const;
    Vec2 maxPosition() const;
    // The position moved inside the bounds on the scrolling axes.
    Vec2 clampToBounds(const Vec2& position) const;
    bool isOutOfBounds() const;
    bool scrollsHorizontally() const;
    bool scrollsVertically() const;

    Layout* _innerContainer = nullptr;
    Direction _direction = Direction::VERTICAL;
    bool _inertiaEnabled = true;
    bool _bounceEnabled = false;

private:
    struct MoveSample {
        float time;
        Vec2 delta;
    };

    float resistedDelta(float position, float delta, float low, float high) const;
    void startInertia(const Vec2& velocity);
    void stepAutoScroll(float dt);
    void stepInertia(float dt);
    void startBounceBack();

    bool _touching = false;
    float _clock = 0.0f;
    float _pressTime = 0.0f;
    std::vector<MoveSample> _samples;

    bool _autoScrolling = false;
    bool _autoAttenuated = false;
    float _autoDuration = 0.0f;
    float _autoElapsed = 0.0f;
    Vec2 _autoStart;
    Vec2 _autoDestination;

    bool _inertiaScrolling = false;
    float _inertiaElapsed = 0.0f;
    Vec2 _inertiaVelocity;
};

}  // namespace ui
}  // namespace cocos2d
