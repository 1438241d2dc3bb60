#include "engine/ui/Button.h"

#include <new>

#include "engine/2d/Label.h"
#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"
#include "ui/WidgetImage.h"

namespace cocos2d {
namespace ui {
namespace {

// The look of a dimmed or disabled button that has no disabled image.
const Color3B kDimmedTint(128, 128, 128);

}  // namespace

Button* Button::create() {
    auto* button = new (std::nothrow) Button();
    if (button && button->init()) {
        button->autorelease();
        return button;
    }
    delete button;
    return nullptr;
}

Button* Button::create(const std::string& normalImage, const std::string& selectedImage,
                       const std::string& disableImage, TextureResType type) {
    Button* button = create();
    if (button) {
        button->loadTextures(normalImage, selectedImage, disableImage, type);
    }
    return button;
}

bool Button::init() {
    if (!Widget::init()) {
        return false;
    }
    setTouchEnabled(true);
    return true;
}

void Button::loadTextures(const std::string& normal, const std::string& selected, const std::string& disabled,
                          TextureResType type) {
    loadTextureNormal(normal, type);
    if (!selected.empty()) {
        loadTexturePressed(selected, type);
    }
    if (!disabled.empty()) {
        loadTextureDisabled(disabled, type);
    }
}

bool Button::replaceImage(Sprite*& slot, const std::string& name, TextureResType type) {
    Sprite* image = createWidgetImage(name, type);
    if (!image) {
        return false;
    }
    if (slot) {
        removeProtectedChild(slot);
    }
    slot = image;
    image->setGlobalZOrder(_globalZOrder);
    addProtectedChild(image, 0);
    return true;
}

void Button::loadTextureNormal(const std::string& name, TextureResType type) {
    if (replaceImage(_normalImage, name, type)) {
        contentSizeChanged();
    }
}

void Button::loadTexturePressed(const std::string& name, TextureResType type) {
    if (replaceImage(_pressedImage, name, type)) {
        applyLook();
    }
}

void Button::loadTextureDisabled(const std::string& name, TextureResType type) {
    if (replaceImage(_disabledImage, name, type)) {
        applyLook();
    }
}

void Button::setTitleText(const std::string& text) {
    _titleText = text;
    if (_titleRenderer) {
        _titleRenderer->setString(text);
        applyLook();
    } else if (!_reportedNoFont && !text.empty()) {
        _reportedNoFont = true;
        logAt(LogLevel::Warning, "Button: no title font for '%s'; the title is not shown", text.c_str());
    }
}

void Button::setTitleColor(const Color3B& color) {
    _titleColor = color;
    if (_titleRenderer) {
        _titleRenderer->setColor(color);
    }
}

void Button::setTitleFontSize(float size) {
    _titleFontSize = size;
    if (_titleRenderer) {
        TTFConfig config = _titleRenderer->getTTFConfig();
        config.fontSize = size;
        _titleRenderer->setTTFConfig(config);
        applyLook();
    }
}

void Button::setTitleFontName(const std::string& fontFilePath) {
    if (_titleRenderer) {
        TTFConfig config = _titleRenderer->getTTFConfig();
        config.fontFilePath = fontFilePath;
        if (_titleRenderer->setTTFConfig(config)) {
            _titleFontName = fontFilePath;
        }
        applyLook();
        return;
    }
    Label* title = Label::createWithTTF(_titleText, fontFilePath, _titleFontSize);
    if (!title) {
        return;  // the label has logged the font
    }
    _titleFontName = fontFilePath;
    _titleRenderer = title;
    title->setColor(_titleColor);
    title->setGlobalZOrder(_globalZOrder);
    addProtectedChild(title, 1);
    applyLook();
}

void Button::setZoomScale(float scale) {
    _zoomScale = scale;
    applyLook();
}

void Button::setGlobalZOrder(float globalZOrder) {
    Widget::setGlobalZOrder(globalZOrder);
    for (Node* child : _protectedChildren) {
        child->setGlobalZOrder(globalZOrder);
    }
}

Size Button::getVirtualRendererSize() const {
    return _normalImage ? _normalImage->getContentSize() : Size::ZERO;
}

void Button::onPressStateChangedToNormal() {
    applyLook();
}

void Button::onPressStateChangedToPressed() {
    applyLook();
}

void Button::onPressStateChangedToDisabled() {
    applyLook();
}

void Button::onSizeChanged() {
    applyLook();
}

Sprite* Button::getShownImage() const {
    for (Sprite* image : {_normalImage, _pressedImage, _disabledImage}) {
        if (image && image->isVisible()) {
            return image;
        }
    }
    return nullptr;
}

void Button::applyLook() {
    const bool dimmed = !_enabled || !_bright;
    const bool pressed = !dimmed && _highlighted;
    Sprite* shown = _normalImage;
    float zoom = 1.0f;
    if (dimmed && _disabledImage) {
        shown = _disabledImage;
    } else if (pressed && _pressedImage) {
        shown = _pressedImage;
    } else if (pressed) {
        zoom = 1.0f + _zoomScale;
    }
    for (Sprite* image : {_normalImage, _pressedImage, _disabledImage}) {
        if (image) {
            image->setVisible(image == shown);
            placeWidgetImage(image, _contentSize, image == shown ? zoom : 1.0f, !_ignoreSize);
        }
    }
    if (_normalImage) {
        _normalImage->setColor(dimmed && shown == _normalImage ? kDimmedTint : Color3B::WHITE);
    }
    if (_titleRenderer) {
        // The title zooms with the image it sits on.
        _titleRenderer->setAnchorPoint(Vec2(0.5f, 0.5f));
        _titleRenderer->setPosition(_contentSize.width / 2, _contentSize.height / 2);
        _titleRenderer->setScale(zoom);
    }
}

}  // namespace ui
}  // namespace cocos2d
