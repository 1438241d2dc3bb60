#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/scene/Node.h"

#include "ui/CustomScene.h"
#include "ui/SceneLoadingDelegate.h"

namespace cocos2d {
class LayerColor;
}  // namespace cocos2d

// One still picture of a slideshow, built from its own folder's description only when it is shown.
// The scene creates it with new and holds one reference.
class IntroLayer : public cocos2d::Node {
public:
    explicit IntroLayer(std::string folder);
    ~IntroLayer() override;

    // Builds the slide at the centre of the visible area; its "Bubbles" labels get the "intro."
    // texts of their names. Always true.
    bool init() override;
    // Drops the images the slide's description names from the texture cache.
    void releaseTextures();

    const std::string& getFolder() const { return _folder; }

private:
    std::string _folder;
};

// The intro (nine slides, then the demo level) and the closing slideshow (one slide, then the
// credits). The caller creates it, calls startIntro or startOutro once, and fades to it.
class IntroScene : public CustomScene, public SceneLoadingDelegate {
public:
    static IntroScene* create();
    ~IntroScene() override;

    bool init() override;
    void onEnterTransitionDidFinish() override;
    void onPreloadFinished() override;

    void startIntro();
    void startOutro();

    virtual void setupSkipButton();
    // Drops the slide on screen and shows the next one, when there is one.
    virtual void nextFrame();
    // Ends the slide on screen: a short fade through black to the next, or the end of the show.
    virtual void frameFinished();
    virtual void onFrameTimer();
    void onSkip();

    int32_t getFrameIndex() const { return _frameIndex; }
    int32_t getFrameCount() const { return _frameCount; }
    bool areTapsAccepted() const { return _tapsAccepted; }
    IntroLayer* getCurrentSlide() const;
    const std::vector<float>& getDurations() const { return _durations; }
    cocos2d::Node* getSkipButton() const { return _skipButton; }
    cocos2d::LayerColor* getFader() const { return _fader; }
    cocos2d::Node* getFrameContainer() const { return _frameContainer; }

protected:
    IntroScene() = default;

private:
    void createBackground();
    void addSlides(const std::vector<std::string>& folders, const std::vector<float>& seconds);
    void startDemoLevel();
    void openCredits();

    std::vector<IntroLayer*> _slides;
    std::vector<float> _durations;
    cocos2d::Node* _skipButton = nullptr;
    cocos2d::LayerColor* _fader = nullptr;
    cocos2d::Node* _frameContainer = nullptr;
    int32_t _frameIndex = -1;
    int32_t _frameCount = 0;
    bool _tapsAccepted = true;
    // The slide a held touch began on: its release ends only that slide.
    int32_t _touchFrame = -1;
    std::function<void()> _onFinished;
};
