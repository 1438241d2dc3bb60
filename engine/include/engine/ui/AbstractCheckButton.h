#pragma once

#include <string>

#include "engine/math/Size.h"
#include "engine/ui/Widget.h"

namespace cocos2d {

class Sprite;

namespace ui {

// A two-state button: a background image and, while selected, a cross over it. It starts
// touch-enabled, and its content size follows the background. A tap toggles the state; setting the
// state from code notifies nobody.
class AbstractCheckButton : public Widget {
public:
    bool init() override;

    // A missing file or frame logs once and keeps the previous image.
    void loadTextureBackGround(const std::string& name, TextureResType type = TextureResType::LOCAL);
    void loadTextureFrontCross(const std::string& name, TextureResType type = TextureResType::LOCAL);

    // Shows or hides the cross; fires no event.
    void setSelected(bool selected);
    bool isSelected() const { return _selected; }

    // While pressed, the images are drawn at 1 + zoom scale (default 0.1).
    void setZoomScale(float scale);
    float getZoomScale() const { return _zoomScale; }

    void setGlobalZOrder(float globalZOrder) override;

protected:
    AbstractCheckButton() = default;

    // A tap changed the state to `selected`.
    virtual void dispatchSelectChangedEvent(bool selected) = 0;

    void releaseUpEvent() override;
    Size getVirtualRendererSize() const override;
    void onPressStateChangedToNormal() override;
    void onPressStateChangedToPressed() override;
    void onPressStateChangedToDisabled() override;
    void onSizeChanged() override;
    void applyLook();
    bool replaceImage(Sprite*& slot, const std::string& name, TextureResType type, int z);

    Sprite* _backGround = nullptr;
    Sprite* _frontCross = nullptr;
    bool _selected = false;
    float _zoomScale = 0.1f;
};

}  // namespace ui
}  // namespace cocos2d
