#include "ui/LoadingScreen.h"

#include <cmath>
#include <new>

#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "WideString.h"
#include "nodes/NewUserPopup.h"
#include "ui/IntroScene.h"
#include "ui/MapScreen.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kLoadingFolder = "ui/Loading";
// The descriptions of the first screens, whose images the screen preloads, in this order.
constexpr const char* kPreloadedFolders[] = {"ui/Map", "ui/Gallery", "ui/GalleryDynamic", "ui/Game"};
constexpr const char* kFirstTrack = "Music/theme_1";
constexpr const char* kMoreTracks[] = {"Music/theme_2", "Music/theme_3", "Music/theme_4", "Music/theme_5"};

}  // namespace

LoadingScreen* LoadingScreen::create() {
    auto* screen = new (std::nothrow) LoadingScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

LoadingScreen::LoadingScreen() {
    cocos2d::SpriteFrameCache::getInstance()->removeUnusedSpriteFrames();
    cocos2d::Director::getInstance()->getTextureCache()->removeAllTextures();
}

LoadingScreen::~LoadingScreen() {
    cocos2d::TextureCache* cache = cocos2d::Director::getInstance()->getTextureCache();
    for (const std::string& path : NodeFromJson::collectTextures(kLoadingFolder)) {
        cache->removeTextureForKey(path);
    }
    cocos2d::log("=== %s ===\n", "LoadingScreen::~LoadingScreen");
}

bool LoadingScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }
    cocos2d::Director::getInstance()->getTextureCache()->removeUnusedTextures();

    NodeFromJson loader(kLoadingFolder);
    _uiNode = loader.createNode("ui");
    if (_uiNode != nullptr) {
        addChild(_uiNode);
        _progressBar = dynamic_cast<cocos2d::ProgressTimer*>(_uiNode->getChildByName("loadingProgresFiller"));
    }
    if (_progressBar != nullptr) {
        _progressBar->setPercentage(0.0f);
    }

    for (const char* folder : kPreloadedFolders) {
        for (const std::string& path : NodeFromJson::collectTextures(folder)) {
            _texturePaths.insert(path);
        }
    }
    return true;
}

void LoadingScreen::onEnterTransitionDidFinish() {
    ScreenBase::onEnterTransitionDidFinish();
    if (_loadingStarted) {
        return;
    }
    _loadingStarted = true;

    GameSound& sound = GameSound::getInstance();
    sound.addToPlaylist(kFirstTrack);
    if (Settings::getInstance().getCurrentUser().storyLevel >= 0) {
        for (const char* track : kMoreTracks) {
            sound.addToPlaylist(track);
        }
    }

    if (_texturePaths.empty()) {
        onLoadingFinished();
        return;
    }
    cocos2d::TextureCache* cache = cocos2d::Director::getInstance()->getTextureCache();
    // Every request completes (with null when its image fails), so the screen always ends. Each one
    // holds the screen until it is back.
    cocos2d::RefPtr<LoadingScreen> self(this);
    for (const std::string& path : _texturePaths) {
        cache->addImageAsync(path, [self](cocos2d::Texture2D* texture) { self->onTextureLoaded(texture); });
    }
}

void LoadingScreen::onTextureLoaded(cocos2d::Texture2D*) {
    if (_finished) {
        return;
    }
    _loadedCount += 1.0f;
    const float total = static_cast<float>(_texturePaths.size());
    if (_progressBar != nullptr) {
        _progressBar->setPercentage(std::trunc(_loadedCount * 100.0f / total));
    }
    if (_loadedCount >= total) {
        onLoadingFinished();
    }
}

LoadingScreen::Destination LoadingScreen::chooseDestination(const Profile& profile) {
    if (profile.storyLevel >= 0) {
        return Destination::Map;
    }
    return profile.name.empty() ? Destination::NewPlayer : Destination::Intro;
}

const char* LoadingScreen::destinationName(Destination destination) {
    switch (destination) {
        case Destination::Map:
            return "map";
        case Destination::Intro:
            return "intro";
        case Destination::NewPlayer:
            return "new player";
    }
    return "";
}

void LoadingScreen::onLoadingFinished() {
    if (_finished) {
        return;
    }
    _finished = true;
    unscheduleAllCallbacks();
    const Profile& profile = Settings::getInstance().getCurrentUser();
    cocos2d::log("level = %d", profile.storyLevel);
    const Destination destination = chooseDestination(profile);
    // A screen already replaced (its loads complete after it left) must not pull the game back to
    // its own destination.
    const bool leaves = isRunning();
    switch (destination) {
        case Destination::Map: {
            cocos2d::log("loading -> %s", destinationName(destination));
            cocos2d::Scene* scene = leaves ? cocos2d::Scene::create() : nullptr;
            MapScreen* map = leaves ? MapScreen::create() : nullptr;
            if (leaves && scene != nullptr && map != nullptr) {
                scene->addChild(map);
                cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(0.3f, scene));
            }
            break;
        }
        case Destination::Intro: {
            cocos2d::log("loading -> %s", destinationName(destination));
            IntroScene* intro = leaves ? IntroScene::create() : nullptr;
            if (intro != nullptr) {
                intro->startIntro();
                cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(0.3f, intro));
            }
            break;
        }
        case Destination::NewPlayer:
            showNewPlayerPopup();
            break;
    }
}

void LoadingScreen::showNewPlayerPopup() {
    cocos2d::log("loading -> %s", destinationName(Destination::NewPlayer));
    NodeFromJson confirmation("ui/Confirmation");
    if (auto* popup = dynamic_cast<NewUserPopup*>(confirmation.createNode("EnterNewUser"))) {
        popup->setCallback([this](NewUserPopup* answered, std::string name) { onNewUserName(answered, name); });
        // A first player must give a name.
        popup->hideCancelButton();
        addChild(popup);
        _newUserPopup = popup;
    }
    if (_progressBar != nullptr) {
        _progressBar->removeFromParent();
        _progressBar = nullptr;
    }
    if (_uiNode != nullptr) {
        _uiNode->removeChildByName("loadingProgresBorder");
        _uiNode->removeChildByName("Orvel");
    }
}

void LoadingScreen::onNewUserName(cocos2d::Node*, const std::string& name) {
    Settings::getInstance().createUserAndStart(widen(name));
}
