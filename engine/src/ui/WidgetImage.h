#pragma once

#include <string>

#include "engine/math/Size.h"
#include "engine/ui/Widget.h"

namespace cocos2d {

class Node;
class Sprite;

namespace ui {

// A new sprite of a file or a sprite frame, or null after the one log line of the texture cache or the
// frame lookup that names the missing image.
Sprite* createWidgetImage(const std::string& name, Widget::TextureResType type);

// Puts an image at the centre of a box, scaled by `zoom`. With `fit` it is stretched to the box as well
// (a widget of a set size); otherwise it keeps its own size, as drawn.
void placeWidgetImage(Node* image, const Size& box, float zoom, bool fit);

}  // namespace ui
}  // namespace cocos2d
