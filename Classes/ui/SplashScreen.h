#pragma once

#include <string>
#include <vector>

#include "ui/ScreenBase.h"

namespace cocos2d {
class Event;
class Sprite;
class Touch;
}  // namespace cocos2d

// The first screen: the images of the splash list one after another, cross-fading, then the loading
// screen with a 0.3 s fade. A tap ends it early. The only screen not built from a UI description.
class SplashScreen : public ScreenBase {
public:
    static constexpr const char* kSplashListPath = "splash/splashdata.xml";

    struct Entry {
        std::string fileName;
        float timeToShow = 0.0f;
        bool skip = false;
        cocos2d::Sprite* sprite = nullptr;
    };

    static SplashScreen* create();
    ~SplashScreen() override;

    bool init() override;
    void onEnterTransitionDidFinish() override;
    void update(float dt) override;
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;

    const std::vector<Entry>& getEntries() const { return _entries; }
    int getCurrentIndex() const { return _currentIndex; }
    bool isShowing() const { return _showing; }
    bool isLeaving() const { return _leaving; }

protected:
    SplashScreen() = default;

private:
    void readSplashList();
    void showNextImage();
    void leaveForLoadingScreen();

    std::vector<Entry> _entries;
    int _currentIndex = -1;
    float _elapsed = 0.0f;
    bool _showing = false;
    bool _leaving = false;
    float _fadeTime = 0.5f;
    // A list that gave no image: the screen leaves as soon as it runs, since a scene change needs a
    // running scene to start from.
    bool _nothingToShow = false;
};
