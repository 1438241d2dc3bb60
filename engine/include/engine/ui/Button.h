#pragma once

#include <string>

#include "engine/base/Types.h"
#include "engine/math/Size.h"
#include "engine/ui/Widget.h"

namespace cocos2d {

class Sprite;

namespace ui {

// A push button: normal, pressed and disabled images (files or sprite frames) and a title. It starts
// touch-enabled, and its content size follows the normal image. Drawing order: children below z 0, the
// image, the title, then the other children.
class Button : public Widget {
public:
    // A button with no images.
    static Button* create();
    static Button* create(const std::string& normalImage, const std::string& selectedImage = "",
                          const std::string& disableImage = "", TextureResType type = TextureResType::LOCAL);
    bool init() override;

    void loadTextures(const std::string& normal, const std::string& selected, const std::string& disabled,
                      TextureResType type = TextureResType::LOCAL);
    // A missing file or frame logs once and keeps the previous image (and size).
    void loadTextureNormal(const std::string& name, TextureResType type = TextureResType::LOCAL);
    void loadTexturePressed(const std::string& name, TextureResType type = TextureResType::LOCAL);
    void loadTextureDisabled(const std::string& name, TextureResType type = TextureResType::LOCAL);

    // Pressed without a pressed image, the image and title are drawn at 1 + zoom scale (default 0.1).
    void setZoomScale(float scale);
    float getZoomScale() const { return _zoomScale; }

    // The images take the button's global z.
    void setGlobalZOrder(float globalZOrder) override;

    // (ours) The image now shown, or null.
    Sprite* getShownImage() const;

protected:
    Button() = default;

    Size getVirtualRendererSize() const override;
    void onPressStateChangedToNormal() override;
    void onPressStateChangedToPressed() override;
    void onPressStateChangedToDisabled() override;
    void onSizeChanged() override;

    // Replaces one of the images; false (and nothing changed) when it is missing.
    bool replaceImage(Sprite*& slot, const std::string& name, TextureResType type);
    // Shows the image of the current state, with its zoom and tint.
    virtual void applyLook();

    Sprite* _normalImage = nullptr;
    Sprite* _pressedImage = nullptr;
    Sprite* _disabledImage = nullptr;
    float _zoomScale = 0.1f;
};

}  // namespace ui
}  // namespace cocos2d
