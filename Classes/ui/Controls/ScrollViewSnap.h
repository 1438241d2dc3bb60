#pragma once

#include <functional>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/math/Vec2.h"
#include "engine/ui/ScrollView.h"

namespace cocos2d {
class Node;
class Touch;
}  // namespace cocos2d

// A horizontal carousel: when the dragged or flung row comes to rest it glides so that the item
// nearest the centre sits on it, and that item becomes the current one. Items may shrink with their
// distance from the centre. Only a tap (not a drag) on the current item reaches the tap callback.
// Owners tag their items with their index: the current index and scrolling by items work on tags.
class ScrollViewSnap : public cocos2d::ui::ScrollView {
public:
    using ItemTapCallback = std::function<void(ScrollViewSnap*, cocos2d::Node*)>;

    static ScrollViewSnap* create();
    ~ScrollViewSnap() override;

    void setItemTapCallback(const ItemTapCallback& callback) { _itemTapCallback = callback; }
    void setScaleItems(bool scaleItems) { _scaleItems = scaleItems; }
    // The inner container's children, in child order.
    std::vector<cocos2d::Node*> getItems() const;
    // The tag of the current item, -1 when there is none.
    int getCurrentIndex() const;
    // Null once the item has left the list, however it was removed.
    cocos2d::Node* getCurrentItem() const;

    cocos2d::Vec2 getScrollPosition() const;
    void setScrollPosition(const cocos2d::Vec2& position);
    void jumpToScrollPosition(const cocos2d::Vec2& position);
    // An eased glide of the inner container; the list counts as moved when it ends.
    void animateToScrollPosition(const cocos2d::Vec2& position, float seconds);
    // Glides to the item tagged with the current item's tag + delta, which becomes current; nothing
    // when there is no current item or no such item.
    void scrollByItems(int delta);

    // The point items are centred on (the centre of the visible area).
    const cocos2d::Vec2& getCentre() const { return _centre; }

    void removeAllChildrenWithCleanup(bool cleanup) override;
    void update(float dt) override;
    bool scrollChildren(float deltaX, float deltaY) override;
    void handlePressLogic(cocos2d::Touch* touch) override;
    void handleMoveLogic(cocos2d::Touch* touch) override;
    void handleReleaseLogic(cocos2d::Touch* touch) override;

protected:
    ScrollViewSnap();

private:
    void scaleItemsByDistance();
    void snapToNearestItem();
    // The item's offset from the centre along x, as the snap measures it.
    float offsetFromCentre(const cocos2d::Node* item) const;

    cocos2d::Vec2 _centre;
    float _scaleRange = 2000.0f;
    float _minItemScale = 0.8f;
    bool _moved = false;
    bool _settling = false;
    bool _snapping = false;
    bool _tapPossible = false;
    bool _scaleItems = false;
    ItemTapCallback _itemTapCallback;
    // Held, so an item removed from the list by any route is never read after it is freed.
    cocos2d::RefPtr<cocos2d::Node> _currentItem;
};
