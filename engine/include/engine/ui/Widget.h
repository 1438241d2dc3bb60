#pragma once

#include <functional>

#include "engine/base/RefPtr.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "engine/ui/ProtectedNode.h"

namespace cocos2d {

class Event;
class EventListenerTouchOneByOne;
class Touch;

namespace ui {

class ScrollView;

// The base of every widget. A touch-enabled widget registers one one-by-one touch listener with its own
// scene-graph priority, which swallows by default. It claims a touch only when it runs and is visible,
// enabled and touch-enabled, every ancestor is visible, every widget ancestor is enabled, the point
// lies in (0, 0, width, height) of its node space and inside every clipping ancestor's rectangle. It is
// highlighted while the touch is inside. The widget is retained around its own callbacks, so a callback
// may remove it or its parent. Colour and opacity cascade to its children and images.
class Widget : public ProtectedNode {
public:
    enum class TouchEventType { BEGAN = 0, MOVED = 1, ENDED = 2, CANCELED = 3 };
    // A file, or a sprite-frame name.
    enum class TextureResType { LOCAL = 0, PLIST = 1 };

    using ccWidgetTouchCallback = std::function<void(Ref*, TouchEventType)>;
    using ccWidgetClickCallback = std::function<void(Ref*)>;

    static Widget* create();
    bool init() override;
    ~Widget() override;

    // A disabled widget refuses touches and blocks those of its widget descendants.
    virtual void setEnabled(bool enabled);
    bool isEnabled() const { return _enabled; }
    // The look only: false shows the disabled look; the widget stays clickable.
    void setBright(bool bright);
    bool isBright() const { return _bright; }
    virtual void setTouchEnabled(bool enabled);
    bool isTouchEnabled() const { return _touchEnabled; }
    // Default true: a claimed touch reaches no later listener.
    void setSwallowTouches(bool swallow);
    bool isSwallowTouches() const { return _swallowTouches; }
    // Default true: a touch that starts on this widget inside a scroll view and then drags is handed to
    // the scroll view (this widget gets CANCELED and no click).
    void setPropagateTouchEvents(bool propagate) { _propagateTouchEvents = propagate; }
    bool isPropagateTouchEvents() const { return _propagateTouchEvents; }
    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return _highlighted; }

    // True: the content size follows the widget's content (an image); false: setContentSize decides.
    virtual void ignoreContentAdaptWithSize(bool ignore);
    bool isIgnoreContentAdaptWithSize() const { return _ignoreSize; }
    void setContentSize(const Size& size) override;
    // The size last given through setContentSize.
    const Size& getCustomSize() const { return _customSize; }

    // One listener each; a later call replaces the earlier one. The touch listener hears BEGAN on the
    // claim, MOVED, ENDED on a release inside and CANCELED on a release outside or a cancel; the click
    // comes once per tap, after ENDED.
    void addTouchEventListener(const ccWidgetTouchCallback& callback);
    void addClickEventListener(const ccWidgetClickCallback& callback);

    // The world point lies in (0, 0, width, height) of this widget's node space.
    virtual bool hitTest(const Vec2& worldPoint) const;
    // The world point lies inside every clipping ancestor's clip rectangle.
    bool isClippingParentContainsPoint(const Vec2& worldPoint) const;
    // Every ancestor is visible and every widget ancestor is enabled.
    bool areAncestorsTouchable() const;

    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);

    const Vec2& getTouchBeganPosition() const { return _touchBeganPosition; }
    const Vec2& getTouchMovePosition() const { return _touchMovePosition; }
    const Vec2& getTouchEndPosition() const { return _touchEndPosition; }

protected:
    Widget();

    // The look for the current enabled, bright and highlighted state.
    void updateLook();
    virtual void onPressStateChangedToNormal() {}
    virtual void onPressStateChangedToPressed() {}
    virtual void onPressStateChangedToDisabled() {}
    // The content size changed: lay the images out again.
    virtual void onSizeChanged() {}
    // The natural size of the widget's content (its normal image); zero when it has none.
    virtual Size getVirtualRendererSize() const { return Size::ZERO; }
    // The content changed its natural size: follow it when adaptation is on.
    void contentSizeChanged();

    // BEGAN, MOVED, ENDED then the click, CANCELED.
    virtual void pushDownEvent();
    virtual void moveEvent();
    virtual void releaseUpEvent();
    virtual void cancelUpEvent();

    bool _enabled = true;
    bool _bright = true;
    bool _touchEnabled = false;
    bool _highlighted = false;
    bool _swallowTouches = true;
    bool _propagateTouchEvents = true;
    bool _ignoreSize = false;
    Size _customSize;
    Vec2 _touchBeganPosition;
    Vec2 _touchMovePosition;
    Vec2 _touchEndPosition;

private:
    ScrollView* scrollViewAncestor() const;

    EventListenerTouchOneByOne* _touchListener = nullptr;
    ccWidgetTouchCallback _touchEventCallback;
    ccWidgetClickCallback _clickEventCallback;
    // The scroll view that took the touch over after it began to drag.
    RefPtr<ScrollView> _handedTo;
};

}  // namespace ui
}  // namespace cocos2d
