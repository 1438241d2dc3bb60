#include "engine/ui/Layout.h"

#include <algorithm>
#include <new>

#include "engine/renderer/Renderer.h"

namespace cocos2d {
namespace ui {
namespace {

// The axis-aligned box of (0, 0, size) under the transform.
Rect boxUnder(const Mat4& transform, const Size& size) {
    const Vec2 corners[4] = {transform.transformPoint(Vec2(0, 0)),
                             transform.transformPoint(Vec2(size.width, 0)),
                             transform.transformPoint(Vec2(0, size.height)),
                             transform.transformPoint(Vec2(size.width, size.height))};
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const Vec2& c : corners) {
        minX = std::min(minX, c.x);
        maxX = std::max(maxX, c.x);
        minY = std::min(minY, c.y);
        maxY = std::max(maxY, c.y);
    }
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

}  // namespace

Layout* Layout::create() {
    auto* layout = new (std::nothrow) Layout();
    if (layout && layout->init()) {
        layout->autorelease();
        return layout;
    }
    delete layout;
    return nullptr;
}

bool Layout::init() {
    if (!Widget::init()) {
        return false;
    }
    _ignoreSize = false;
    setAnchorPoint(Vec2::ZERO);
    return true;
}

Rect Layout::getClippingRect() const {
    return boxUnder(getNodeToWorldTransform(), _contentSize);
}

void Layout::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!_visible) {
        return;
    }
    if (!_clippingEnabled) {
        Widget::visit(renderer, parentTransform, parentFlags);
        return;
    }
    // The rectangle under the transform this visit draws with (a render-texture pass may differ from
    // the node's place in the scene).
    renderer->pushClipRect(boxUnder(transformFor(parentTransform), _contentSize));
    Widget::visit(renderer, parentTransform, parentFlags);
    renderer->popClipRect();
}

}  // namespace ui
}  // namespace cocos2d
