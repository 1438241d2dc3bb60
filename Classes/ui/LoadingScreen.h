#pragma once

#include <string>
#include <unordered_set>

#include "ui/ScreenBase.h"

struct Profile;

namespace cocos2d {
class Node;
class ProgressTimer;
class Texture2D;
}  // namespace cocos2d

// Follows the splash: empties the texture caches, loads every image the map, gallery and level
// descriptions use in the background with a progress bar, starts the playlist, and then goes where
// the current profile belongs: the map, the intro slideshow, or the new-player popup over itself.
class LoadingScreen : public ScreenBase {
public:
    enum class Destination { Map, Intro, NewPlayer };

    static LoadingScreen* create();
    ~LoadingScreen() override;

    bool init() override;
    // Issues every load at once; an empty set finishes at once.
    void onEnterTransitionDidFinish() override;

    // One completion, with the texture or with null for an image that failed: either way it counts.
    void onTextureLoaded(cocos2d::Texture2D* texture);
    void onLoadingFinished();
    // The new-player popup's answer: the name widened, then the new profile and its intro.
    void onNewUserName(cocos2d::Node* popup, const std::string& name);

    // A story level of 0 or more: the map; below it, the intro when the player has a name, else the
    // popup that asks for one.
    static Destination chooseDestination(const Profile& profile);
    static const char* destinationName(Destination destination);

    const std::unordered_set<std::string>& getTexturePaths() const { return _texturePaths; }
    float getLoadedCount() const { return _loadedCount; }
    cocos2d::ProgressTimer* getProgressBar() const { return _progressBar; }
    cocos2d::Node* getUiNode() const { return _uiNode; }
    bool isFinished() const { return _finished; }
    // The new-player popup over the screen, once it was opened.
    cocos2d::Node* getNewUserPopup() const { return _newUserPopup; }

protected:
    LoadingScreen();

private:
    void showNewPlayerPopup();

    float _loadedCount = 0.0f;
    cocos2d::ProgressTimer* _progressBar = nullptr;
    cocos2d::Node* _uiNode = nullptr;
    std::unordered_set<std::string> _texturePaths;
    bool _loadingStarted = false;
    bool _finished = false;
    cocos2d::Node* _newUserPopup = nullptr;
};
