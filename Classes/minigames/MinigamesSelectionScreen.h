#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/scene/Layer.h"

namespace cocos2d {
class Node;
}  // namespace cocos2d

// The panel on which the player picks a minigame from a level whose hints are used up: one button per
// kind with the level it plays next, the kinds already won in this level disabled. The chosen game runs
// on a MinigameScreen pushed over the level's scene; when it is left the panel reports whether it was
// won, marks a won kind as no longer available in this level and closes its container. It lives inside
// a bare PopupScreenBase, which it closes through its parent.
class MinigamesSelectionScreen : public cocos2d::Layer {
public:
    static MinigamesSelectionScreen* create();
    ~MinigamesSelectionScreen() override;

    bool init() override;

    // The level's result handler; without one, a launched game replaces the level's scene and leaves
    // to the gallery.
    void setCallback(const std::function<void(bool)>& callback) { _resultCallback = callback; }
    // Launches the kind's game at the profile's next level; one panel launches one game.
    void launchMinigame(int32_t kind);
    // The launched game's screen was left.
    void onMinigameFinished(bool won);
    void onCloseButton();

    cocos2d::Node* getUi() const { return _ui; }
    bool isLaunching() const { return _launching; }

    // The kind of a button container by its name ("TwoMatchBtnCont" ...), -1 for any other name.
    static int32_t kindOfContainer(const std::string& name);

protected:
    MinigamesSelectionScreen() = default;

private:
    void setUpButtons();
    void closeContainer();

    cocos2d::Node* _ui = nullptr;
    std::function<void(bool)> _resultCallback;
    bool _launching = false;
};
