#pragma once

#include <string>

#include "engine/base/Types.h"
#include "engine/math/Size.h"
#include "engine/ui/Widget.h"

namespace cocos2d {

class Label;
class Sprite;

namespace ui {

// A push button: normal, pressed and disabled images (files or sprite frames) and a title. It starts
// touch-enabled, and its content size follows the normal image. Drawing order: children below z 0, the
// image, the title, then the other children.
//
// The title is a TrueType label centred on the button. It exists once a font is given
// (setTitleFontName); text, size and colour set before that are kept for it.
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

    // Without a font the button logs once and shows no title.
    void setTitleText(const std::string& text);
    const std::string& getTitleText() const { return _titleText; }
    void setTitleColor(const Color3B& color);
    const Color3B& getTitleColor() const { return _titleColor; }
    void setTitleFontSize(float size);
    float getTitleFontSize() const { return _titleFontSize; }
    // A TrueType font file. A font that cannot be loaded logs once and keeps the current one.
    void setTitleFontName(const std::string& fontFilePath);
    const std::string& getTitleFontName() const { return _titleFontName; }
    // The title label, or null while no font was given.
    Label* getTitleRenderer() const { return _titleRenderer; }

    // The images and the title take the button's global z.
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

    Label* _titleRenderer = nullptr;
    std::string _titleText;
    std::string _titleFontName;
    float _titleFontSize = 14.0f;
    Color3B _titleColor = Color3B::WHITE;
    bool _reportedNoFont = false;

    Sprite* _normalImage = nullptr;
    Sprite* _pressedImage = nullptr;
    Sprite* _disabledImage = nullptr;
    float _zoomScale = 0.1f;
};

}  // namespace ui
}  // namespace cocos2d
