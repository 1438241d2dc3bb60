#pragma once

#include <cstdint>

#include "engine/math/Rect.h"
#include "engine/ui/Widget.h"

namespace cocos2d {
namespace ui {

// A widget container, anchored at (0, 0), that can clip its children to its rectangle. Clipping is a
// scissor on the layout's world rectangle, intersected with any enclosing clip; both clipping types
// clip that way.
class Layout : public Widget {
public:
    enum class ClippingType { STENCIL = 0, SCISSOR = 1 };

    static Layout* create();
    bool init() override;

    virtual void setClippingEnabled(bool enabled) { _clippingEnabled = enabled; }
    bool isClippingEnabled() const { return _clippingEnabled; }
    void setClippingType(ClippingType type) { _clippingType = type; }
    ClippingType getClippingType() const { return _clippingType; }
    // The layout's rectangle in world coordinates (the axis-aligned box of its transformed content).
    Rect getClippingRect() const;

    using Node::visit;
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    Layout() = default;

    bool _clippingEnabled = false;
    ClippingType _clippingType = ClippingType::SCISSOR;
};

}  // namespace ui
}  // namespace cocos2d
