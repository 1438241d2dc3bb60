#pragma once

#include <string>

#include "ui/FactoryNode.h"

namespace cocos2d {
class Ref;
}  // namespace cocos2d

// The card the gallery opens for an unlocked picture. A picture still to be restored shows its
// thumbnail, title, author, year and estimated price; a finished one shows its story instead and
// offers to become the desktop wallpaper. The gallery wires "Play" itself and removes it when the
// level cannot be played. The panel sits in a bare popup container.
class PictureDetails : public FactoryNode {
public:
    // Colour of the author's name, the year and the price.
    static const cocos2d::Color3B kHighlight;
    static const cocos2d::Color3B kStoryTitle;

    static PictureDetails* create();
    ~PictureDetails() override;

    // Wires the close and wallpaper buttons; the wallpaper button stays hidden until the story shows.
    void initWithJson(const rapidjson::Value& element) override;

    // Fills the card of the profile's current picture (name is its path).
    void showPicture(const std::string& name);
    // Replaces the card with the finished picture's story and shows the wallpaper button.
    void showFinishedPicture();
    void onClose();
    void onSetWallpaper(cocos2d::Ref* sender);
    // Renders the picture as the level shows it into a visible-sized JPEG in the writable folder,
    // copies it into the pictures folder and sets it as the wallpaper; false when the picture file is
    // missing or the image cannot be written (nothing is copied or set then).
    bool setAsWallpaper();
    // Tells the player, in one line under the wallpaper button, that no desktop took the wallpaper
    // and where the picture was saved instead.
    void showWallpaperNotice(const std::string& savedAt);

    const std::string& getPicture() const { return _picture; }
    // "Kestrova_<picture>.jpg".
    static std::string wallpaperFileName(const std::string& picture);

protected:
    PictureDetails() = default;

private:
    std::string _picture;
};
