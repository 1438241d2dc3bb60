#include "engine/ui/AbstractCheckButton.h"

#include "engine/base/RefPtr.h"
#include "engine/scene/Sprite.h"
#include "ui/WidgetImage.h"

namespace cocos2d {
namespace ui {
namespace {

const Color3B kDisabledTint(128, 128, 128);

}  // namespace

bool AbstractCheckButton::init() {
    if (!Widget::init()) {
        return false;
    }
    setTouchEnabled(true);
    return true;
}

bool AbstractCheckButton::replaceImage(Sprite*& slot, const std::string& name, TextureResType type, int z) {
    Sprite* image = createWidgetImage(name, type);
    if (!image) {
        return false;
    }
    if (slot) {
        removeProtectedChild(slot);
    }
    slot = image;
    image->setGlobalZOrder(_globalZOrder);
    addProtectedChild(image, z);
    return true;
}

void AbstractCheckButton::loadTextureBackGround(const std::string& name, TextureResType type) {
    if (replaceImage(_backGround, name, type, 0)) {
        contentSizeChanged();
    }
}

void AbstractCheckButton::loadTextureFrontCross(const std::string& name, TextureResType type) {
    if (replaceImage(_frontCross, name, type, 1)) {
        applyLook();
    }
}

void AbstractCheckButton::setSelected(bool selected) {
    _selected = selected;
    applyLook();
}

void AbstractCheckButton::setZoomScale(float scale) {
    _zoomScale = scale;
    applyLook();
}

void AbstractCheckButton::setGlobalZOrder(float globalZOrder) {
    Widget::setGlobalZOrder(globalZOrder);
    for (Node* child : _protectedChildren) {
        child->setGlobalZOrder(globalZOrder);
    }
}

void AbstractCheckButton::releaseUpEvent() {
    RefPtr<Widget> keep(this);
    Widget::releaseUpEvent();
    setSelected(!_selected);
    dispatchSelectChangedEvent(_selected);
}

Size AbstractCheckButton::getVirtualRendererSize() const {
    return _backGround ? _backGround->getContentSize() : Size::ZERO;
}

void AbstractCheckButton::onPressStateChangedToNormal() {
    applyLook();
}

void AbstractCheckButton::onPressStateChangedToPressed() {
    applyLook();
}

void AbstractCheckButton::onPressStateChangedToDisabled() {
    applyLook();
}

void AbstractCheckButton::onSizeChanged() {
    applyLook();
}

void AbstractCheckButton::applyLook() {
    const bool dimmed = !_enabled || !_bright;
    const float zoom = (!dimmed && _highlighted) ? 1.0f + _zoomScale : 1.0f;
    for (Sprite* image : {_backGround, _frontCross}) {
        if (image) {
            placeWidgetImage(image, _contentSize, zoom, !_ignoreSize);
            image->setColor(dimmed ? kDisabledTint : Color3B::WHITE);
        }
    }
    if (_frontCross) {
        _frontCross->setVisible(_selected);
    }
}

}  // namespace ui
}  // namespace cocos2d
