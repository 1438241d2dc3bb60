#include "ui/WidgetImage.h"

#include "engine/scene/Sprite.h"

namespace cocos2d {
namespace ui {

Sprite* createWidgetImage(const std::string& name, Widget::TextureResType type) {
    if (type == Widget::TextureResType::PLIST) {
        return Sprite::createWithSpriteFrameName(name);
    }
    return Sprite::create(name);
}

void placeWidgetImage(Node* image, const Size& box, float zoom, bool fit) {
    if (!image) {
        return;
    }
    const Size own = image->getContentSize();
    float sx = 1.0f;
    float sy = 1.0f;
    if (fit && box.width > 0 && box.height > 0 && own.width > 0 && own.height > 0) {
        sx = box.width / own.width;
        sy = box.height / own.height;
    }
    image->setAnchorPoint(Vec2(0.5f, 0.5f));
    image->setPosition(box.width / 2, box.height / 2);
    image->setScale(sx * zoom, sy * zoom);
}

}  // namespace ui
}  // namespace cocos2d
