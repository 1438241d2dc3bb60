#pragma once

#include <string>

namespace cocos2d {

// The Linux desktop services the game's picture export needs.
class DesktopServices {
public:
    // XDG_PICTURES_DIR from $XDG_CONFIG_HOME/user-dirs.dirs (else ~/.config/user-dirs.dirs), else
    // $HOME/Pictures. Ends without a separator. The folder is not created here: copyFile makes it.
    static std::string getPicturesFolder();

    // Copies with overwrite, creating the destination's folder (and its parents) when missing. Gives
    // the destination, or "" with one log line when the folder cannot be made or the copy fails.
    static std::string copyFile(const std::string& source, const std::string& destination);

    // The file:// address of an absolute path: every byte but the unreserved characters of an address
    // and '/' is written as %XX, so spaces, '#', '%', '?' and UTF-8 names survive.
    static std::string fileUri(const std::string& absolutePath);

    // Offers the image, stretched, to every desktop found here (GNOME and its kin, Cinnamon and MATE
    // through gsettings where their background schema is writable; KDE Plasma through
    // plasma-apply-wallpaperimage). True when at least one accepted it. Otherwise one log line, on
    // every call, tells the player that no desktop took it and where the picture is. An empty path
    // or a missing file is refused with its own line.
    static bool setDesktopWallpaper(const std::string& imagePath);
};

}  // namespace cocos2d
