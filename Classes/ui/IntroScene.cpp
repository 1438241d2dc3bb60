#include "ui/IntroScene.h"

#include <algorithm>
#include <new>
#include <utility>

#include "engine/2d/Label.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/FadeTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/platform/GLView.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Button.h"

#include "Constants.h"
#include "GameSound.h"
#include "PictureKey.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "ui/CreditsScreen.h"
#include "ui/GameScreen.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kFrameTimerKey = "IntroScene::onFrameTimer";
constexpr int kSkipButtonZOrder = 5000;
constexpr float kSlideFadeSeconds = 0.1f;

const std::vector<std::string> kIntroFolders = {"intro/frame1", "intro/frame2", "intro/frame3",
                                                "intro/frame4", "intro/frame5", "intro/frame6",
                                                "intro/frame7", "intro/frame8", "intro/frame9"};
const std::vector<float> kIntroSeconds = {11, 12, 7, 11, 9, 10, 9, 8, 10};
const std::vector<std::string> kOutroFolders = {"intro/outro1"};
const std::vector<float> kOutroSeconds = {10};

// The show ends by handing the game to a screen of its own scene, faded in.
void fadeToScreen(cocos2d::Layer* next, float seconds) {
    if (next == nullptr) {
        return;
    }
    cocos2d::Scene* scene = cocos2d::Scene::create();
    scene->addChild(next);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(seconds, scene));
}

}  // namespace

// --- one slide -------------------------------------------------------------------------------------

IntroLayer::IntroLayer(std::string folder) : _folder(std::move(folder)) {}

IntroLayer::~IntroLayer() = default;

bool IntroLayer::init() {
    setPosition(visibleCenter());
    if (_folder.empty()) {
        return true;
    }
    NodeFromJson loader(_folder);
    cocos2d::Node* content = loader.createNode("");
    if (content == nullptr) {
        return true;
    }
    addChild(content);
    if (cocos2d::Node* bubbles = content->getChildByName("Bubbles")) {
        for (cocos2d::Node* child : bubbles->getChildren()) {
            if (auto* label = dynamic_cast<cocos2d::Label*>(child)) {
                label->setString(TextTable::getInstance().lookup("intro." + label->getName()));
            }
        }
    }
    return true;
}

void IntroLayer::releaseTextures() {
    cocos2d::TextureCache* cache = cocos2d::Director::getInstance()->getTextureCache();
    for (const std::string& path : NodeFromJson::collectTextures(_folder)) {
        cache->removeTextureForKey(path);
    }
}

// --- the slideshow ---------------------------------------------------------------------------------

IntroScene* IntroScene::create() {
    auto* scene = new (std::nothrow) IntroScene();
    if (scene != nullptr && scene->init()) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

IntroScene::~IntroScene() {
    for (IntroLayer*& slide : _slides) {
        if (slide != nullptr) {
            slide->release();
            slide = nullptr;
        }
    }
    cocos2d::log("=== %s ===\n", "IntroScene::~IntroScene");
}

bool IntroScene::init() {
    if (!cocos2d::Scene::init()) {
        return false;
    }
    createBackground();
    onPreloadFinished();
    return true;
}

void IntroScene::createBackground() {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();
    auto* background =
        cocos2d::LayerColor::create(cocos2d::Color4B(150, 147, 142, 255), visible.width, visible.height);
    if (background != nullptr) {
        background->setPosition(director->getVisibleOrigin());
        addChild(background);
    }
}

void IntroScene::onPreloadFinished() {
    _frameContainer = cocos2d::Node::create();
    addChild(_frameContainer);
    const cocos2d::Size size = getContentSize();
    _fader = cocos2d::LayerColor::create(cocos2d::Color4B(0, 0, 0, 255), size.width, size.height);
    if (_fader != nullptr) {
        _fader->setOpacity(0);
        addChild(_fader);
    }
    CustomScene::onPreloadFinished();
}

void IntroScene::onEnterTransitionDidFinish() {
    CustomScene::onEnterTransitionDidFinish();
    GameSound::getInstance().startPlaylist();
}

void IntroScene::addSlides(const std::vector<std::string>& folders, const std::vector<float>& seconds) {
    _frameCount = static_cast<int32_t>(folders.size());
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();
    cocos2d::Size design = kDesignSize;
    if (director->getOpenGLView() != nullptr) {
        design = director->getOpenGLView()->getDesignResolutionSize();
    }
    float scale = 1.0f;
    if (design.width > 0.0f && design.height > 0.0f) {
        scale = std::min(visible.width / design.width, visible.height / design.height);
    }
    for (size_t i = 0; i < folders.size(); ++i) {
        auto* slide = new (std::nothrow) IntroLayer(folders[i]);
        if (slide == nullptr) {
            // Without the slide the show is simply shorter.
            --_frameCount;
            continue;
        }
        slide->setScale(scale);
        _slides.push_back(slide);
        _durations.push_back(seconds[i]);
    }
}

void IntroScene::startIntro() {
    addSlides(kIntroFolders, kIntroSeconds);
    setupSkipButton();
    _onFinished = [this] { startDemoLevel(); };
    nextFrame();
}

void IntroScene::startOutro() {
    addSlides(kOutroFolders, kOutroSeconds);
    _onFinished = [this] { openCredits(); };
    nextFrame();
}

void IntroScene::setupSkipButton() {
    NodeFromJson loader("ui/Intro");
    cocos2d::Node* skip = loader.createNode("Skip");
    if (skip != nullptr) {
        _skipButton = skip;
        addChild(skip, kSkipButtonZOrder);
        cocos2d::Director* director = cocos2d::Director::getInstance();
        const cocos2d::Vec2 origin = director->getVisibleOrigin();
        const cocos2d::Size visible = director->getVisibleSize();
        const cocos2d::Size size = skip->getContentSize();
        skip->setPosition(origin.x + visible.width - size.width * 0.5f, origin.y + size.height);
        if (auto* button = dynamic_cast<cocos2d::ui::Button*>(skip)) {
            button->setTitleText(TextTable::getInstance().getText("ui", "skip"));
            button->addClickEventListener([this](cocos2d::Ref*) { onSkip(); });
        }
        skip->setOpacity(150);
    }

    auto* listener = cocos2d::EventListenerTouchOneByOne::create();
    listener->onTouchBegan = [this](cocos2d::Touch*, cocos2d::Event*) {
        _touchFrame = _frameIndex;
        return _tapsAccepted;
    };
    listener->onTouchMoved = [](cocos2d::Touch*, cocos2d::Event*) {};
    // A release ends the slide the touch began on, and only while that slide still takes taps: a
    // finger held past the slide's own end must not end the next slide too, nor end the show twice.
    auto ended = [this](cocos2d::Touch*, cocos2d::Event*) {
        if (!_tapsAccepted || _touchFrame != _frameIndex) {
            return;
        }
        unschedule(kFrameTimerKey);
        frameFinished();
    };
    listener->onTouchEnded = ended;
    listener->onTouchCancelled = ended;
    cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener,
                                                                                                   this);
}

IntroLayer* IntroScene::getCurrentSlide() const {
    if (_frameIndex < 0 || static_cast<size_t>(_frameIndex) >= _slides.size()) {
        return nullptr;
    }
    return _slides[static_cast<size_t>(_frameIndex)];
}

void IntroScene::nextFrame() {
    if (IntroLayer* current = getCurrentSlide()) {
        current->stopAllActions();
        current->removeAllChildren();
        current->releaseTextures();
        current->removeFromParent();
    }
    _frameIndex += 1;
    IntroLayer* slide = getCurrentSlide();
    if (_frameIndex < _frameCount && slide != nullptr) {
        slide->init();
        _frameContainer->addChild(slide);
        scheduleOnce([this](float) { onFrameTimer(); }, _durations[static_cast<size_t>(_frameIndex)],
                     kFrameTimerKey);
        _tapsAccepted = true;
    }
}

void IntroScene::onFrameTimer() {
    frameFinished();
}

void IntroScene::frameFinished() {
    _tapsAccepted = false;
    if (_fader != nullptr) {
        _fader->stopAllActions();
    }
    if (_frameIndex + 1 < _frameCount && _fader != nullptr) {
        _fader->runAction(cocos2d::Sequence::create(cocos2d::FadeTo::create(kSlideFadeSeconds, 255),
                                                    cocos2d::CallFunc::create([this] { nextFrame(); }),
                                                    cocos2d::FadeTo::create(kSlideFadeSeconds, 0), nullptr));
        return;
    }
    if (_onFinished) {
        _onFinished();
    }
}

void IntroScene::onSkip() {
    if (!_tapsAccepted) {
        return;
    }
    _tapsAccepted = false;
    unschedule(kFrameTimerKey);
    if (IntroLayer* current = getCurrentSlide()) {
        current->stopAllActions();
        current->removeAllChildren();
        current->releaseTextures();
    }
    if (_fader != nullptr) {
        _fader->stopAllActions();
    }
    if (_onFinished) {
        _onFinished();
    }
}

void IntroScene::startDemoLevel() {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.currentPicture = PictureKey{"demo", "Vesquino"};
    // The level screen plays the demo picture as the intro level.
    fadeToScreen(GameScreen::create(), 1.0f);
}

void IntroScene::openCredits() {
    fadeToScreen(CreditsScreen::create(), 0.5f);
}
