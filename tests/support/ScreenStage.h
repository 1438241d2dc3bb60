#pragma once

#include <memory>
#include <string>

#include "engine/math/Vec2.h"

class AppDelegate;
class GalleryScreen;
class GameScreen;
class MapScreen;

namespace testing {

// The real game, launched as the player starts it (its splash first), then held on one of its screens
// with a player well into the story (every lesson seen): the map, the USA gallery, or the level of
// HarborDawn with a stroke of the item's own tool in progress over a revealed item. For the screen
// tests and the benchmarks; the driver's view must be open.
class ScreenStage {
public:
    ScreenStage();
    ~ScreenStage();
    ScreenStage(const ScreenStage&) = delete;
    ScreenStage& operator=(const ScreenStage&) = delete;

    // `resourceDir` is the staged tree (<build>/Resources); `scratch` an empty folder for the saves.
    bool launch(const std::string& resourceDir, const std::string& scratch);
    // Leaves the game on an empty scene and lets the application go.
    void close();

    // Each waits until the screen stands still (its fades and opening done); null when it did not come.
    MapScreen* showMap();
    GalleryScreen* showGallery();
    GameScreen* showLevelWithStroke();
    // One more move of the stroke, delivered with the next frame.
    void moveStroke();
    // Lifts the stroke's touch (the next screen, or close, does it too).
    void endStroke();

private:
    std::unique_ptr<AppDelegate> _app;
    cocos2d::Vec2 _strokeCentre;
    int _strokeStep = 0;
    GameScreen* _level = nullptr;
};

}  // namespace testing
