#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MinigameLevel.h"
#include "Profile.h"

namespace cocos2d {
class GLView;
class Node;
}  // namespace cocos2d

class TopLayer;

// The one service through which the screens reach the user data and the choices that depend on
// the player: the current profile, creating, selecting and deleting players, applying a player's
// options (full screen), language, text scale, font and scene paths, the screen that opened the
// options, the window icon, the wallpaper export's desktop services, and saving.
class Settings {
public:
    static Settings& getInstance();
    // Tests start clean: the next getInstance builds a fresh service.
    static void destroyInstance();

    virtual ~Settings();

    // The profile of the current name. When no profile has that name, one with the constructor's
    // values is inserted under it. The reference stays valid until that profile is deleted.
    Profile& getCurrentUser();

    // A profile with the new-player values stored under name (replacing any of that name), made
    // current. Neither saves nor applies the profile's options.
    void createUser(const std::u16string& name);
    // A new player from the chooser: createUser, its options applied (so the new player does not
    // play with the previous one's), its packs read again, then the intro slideshow faded in over
    // 1.0 s (when there is a view to show it). Does not save.
    void createUserAndStart(const std::u16string& name);
    // Gives a profile the values of a new player and reads the content packs into it.
    void initNewProfile(Profile& profile);
    // Appends 8 levels each of kinds 0, 1 and 2 and 50 of kind 4, shuffles them, then numbers each
    // kind's entries 0, 1, 2, ... from the front.
    void initMinigameOrder(std::vector<MinigameLevel>& order);

    // Removes a named player; false for the empty name or a name without a profile. The current
    // name stays as it is and nothing is saved: the caller chooses the next player.
    bool deleteUser(const std::u16string& name);
    // When the store holds no profile: an empty-named new player, made current.
    void ensureDefaultUser();
    bool userExists(const std::u16string& name) const;
    // Makes another existing player current, reads the content packs into it (so that it gets a pack
    // version that came while it was not current), applies its options when apply is set, and
    // saves; false, with nothing done, for a name without a profile or the current name.
    bool selectUser(const std::u16string& name, bool apply);
    // Appends the names of all profiles but the empty-named one; sorted by their 16-bit units when
    // asked.
    void getUserNames(std::vector<std::u16string>& out, bool sorted) const;

    // Whether the current profile was shown this tutorial.
    bool isTutorialShown(int32_t id);
    // Whether the current profile's shown chats hold 1; the argument is not read.
    bool isMapChatShown(int32_t id);
    // Adds a found evidence item to the current profile as new; false for an empty or known name.
    bool addEvidence(const std::string& name);
    // Opens every country and picture of the current profile (the gallery's developer key).
    void debugUnlockAll();

    // At launch, once the view was made in the profile's mode and the TopLayer is installed: applies
    // the profile's volumes and custom-cursor choice and records its full-screen choice as applied.
    void applyProfileSettings();
    // Applies the current profile's options: its volumes, its full-screen choice and its cursor.
    void applyCurrentUser();

    // Store the volume in the current profile and hand it to the audio service.
    void setMusicVolume(float volume);
    void setSoundVolume(float volume);

    // The director's notification node: the always-on-top layer that outlives every scene, on which
    // the audio service runs its fades. Null until it is installed.
    cocos2d::Node* getTopLayer() const;
    // Forwarded to the TopLayer (nothing without one); no profile field changes.
    void setCustomCursorEnabled(bool on);
    void setCursor(const std::string& name);
    // The current profile's cursor name to the TopLayer.
    void applyUserCursor();
    // The "exit_confirmation" effect and the TopLayer's Yes/No window for "exit_game_confirm"; Yes
    // saves, leaves the TopLayer and ends the director.
    void confirmExit();

    // Switches the view to full screen or to a 1280 x 810 window and records the choice in the
    // service and the current profile; true when the view changed. Leaving full screen on a screen
    // smaller than 1280 x 810 in both directions keeps the view full screen and records the choice
    // all the same. Without a desktop view only the choice is recorded.
    bool setFullscreen(bool on);
    // The design resolution 1280 x 810 with the whole design area shown: at launch, after a change of
    // full screen and when the window is resized.
    static void applyDesignResolution(cocos2d::GLView* view);
    // Alt+Enter: the opposite of the current profile's choice.
    void toggleFullscreen();
    // The full-screen state last applied.
    bool isFullscreen() const { return _fullscreen; }
    // Gives the desktop view the program's icon from the resource tree.
    void applyWindowIcon();

    // Copies folder + fileName into the user's pictures folder, else into the folder "Wallpaper"
    // under the current directory (neither is created); the path of the copy, or "" when both fail.
    std::u16string copyToPictures(const std::u16string& fileName, const std::u16string& folder);
    // Sets the image as the stretched desktop wallpaper; false where the desktop offers no way.
    bool setDesktopWallpaper(const std::u16string& path);

    // Writes the user data to the writable folder.
    void save();
    // The writable folder of the save files, ending with "/".
    std::string getWritablePath() const;

    // The two-letter language: the resource file "lang" when it holds exactly two bytes, else the
    // system's. Fixed at the first call.
    const char* getLanguage();
    // 1.0 for the language "en", else 0.9. Fixed at the first call.
    float getTextScale();

    // "fonts/" + the font's alias or its own name + ".ttf".
    std::string getFontPath(const std::string& name) const;
    // "Scenes/" + name.
    std::string getScenePath(const std::string& name) const;
    std::string formatScenePath(std::string name) const;

    // The screen ("game" or "gallery") that opened the options or the credits.
    std::string getReturnScreen() const { return _returnScreen; }
    void setReturnScreen(const std::string& screen) { _returnScreen = screen; }

private:
    // The notification node as the TopLayer; null until it is installed (or when another node is).
    TopLayer* topLayer() const;

    std::string _returnScreen;
    std::string _language;
    std::map<std::string, std::string> _fontAliases{{"ArialBold", "Arial"}};
    float _textScale = -1.0f;
    bool _fullscreen = false;
};
