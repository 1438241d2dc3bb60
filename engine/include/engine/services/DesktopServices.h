#pragma once

#include <string>

namespace cocos2d {

// The Linux desktop services the game's picture export needs.
class DesktopServices {
public:
    // XDG_PICTURES_DIR from $XDG_CONFIG_HOME/user-dirs.dirs (else ~/.config/user-dirs.dirs), else
    // $HOME/Pictures. Ends without a separator. The folder is not created.
    static std::string getPicturesFolder();

    // Copies with overwrite. Gives the destination, or "" (with one log line) when the copy fails, for
    // example because the destination folder does not exist (it is never created here).
    static std::string copyFile(const std::string& source, const std::string& destination);

    // Sets the stretched desktop wallpaper through gsettings where the GNOME background schema is
    // writable. Elsewhere it returns false and logs once per run. An empty path is refused.
    static bool setDesktopWallpaper(const std::string& imagePath);
};

}  // namespace cocos2d
