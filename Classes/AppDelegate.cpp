#include "AppDelegate.h"

#include <cstdint>
#include <ctime>
#include <cstdlib>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/math/Rect.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/scene/Scene.h"

#include "Constants.h"
#include "DataPackReader.h"
#include "DebugKeySequence.h"
#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserDataIO.h"
#include "ui/FactoryClasses.h"
#include "ui/SplashScreen.h"
#include "ui/TopLayer.h"

namespace {

using cocos2d::Director;
using KeyCode = cocos2d::EventKeyboard::KeyCode;

constexpr const char* kWindowTitle = "Kestrova";
constexpr int kKeyboardListenerPriority = 1;

bool isAltKey(KeyCode keyCode) {
    return keyCode == KeyCode::KEY_ALT || keyCode == KeyCode::KEY_RIGHT_ALT;
}

}  // namespace

AppDelegate::AppDelegate() = default;

AppDelegate::~AppDelegate() {
    // The director may outlive the delegate (tests drive the launch without the loop): the listener
    // must then no longer reach this object.
    if (_keyboardListener) {
        _keyboardListener->onKeyPressed = nullptr;
        _keyboardListener->onKeyReleased = nullptr;
    }
}

void AppDelegate::initGLContextAttrs() {
    cocos2d::GLContextAttrs attrs;
    attrs.redBits = 8;
    attrs.greenBits = 8;
    attrs.blueBits = 8;
    attrs.alphaBits = 8;
    attrs.depthBits = 24;
    attrs.stencilBits = 8;
    cocos2d::GLView::setGLContextAttrs(attrs);
}

bool AppDelegate::applicationDidFinishLaunching() {
    Director* director = Director::getInstance();
    director->setAnimationInterval(1.0f / 60.0f);

    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->addSearchPath("src");
    files->addSearchPath("res");

    UserDataIO::loadUserData();

    Settings& settings = Settings::getInstance();
    if (director->getOpenGLView() == nullptr) {
        cocos2d::GLView* view = nullptr;
        if (settings.getCurrentUser().fullscreen) {
            view = cocos2d::GLViewImpl::createWithFullScreen(kWindowTitle);
        } else {
            view = cocos2d::GLViewImpl::createWithRect(
                kWindowTitle, cocos2d::Rect(0.0f, 0.0f, kDesignSize.width, kDesignSize.height), 1.0f);
        }
        if (view == nullptr) {
            return false;
        }
        director->setOpenGLView(view);
        // A Linux window has no icon of its own until it is given one.
        settings.applyWindowIcon();
    }

    Settings::applyDesignResolution(director->getOpenGLView());

    std::srand(static_cast<unsigned int>(static_cast<uint32_t>(std::time(nullptr))));

    registerFactoryClasses();

    TextTable::getInstance().loadTexts("texts", settings.getLanguage(), true);

    cocos2d::Scene* scene = cocos2d::Scene::create();
    if (SplashScreen* splash = SplashScreen::create()) {
        scene->addChild(splash);
    }
    director->runWithScene(scene);

    // The director draws its notification node over every scene but never enters or leaves it: the
    // layer is entered here and left by the exit confirmation.
    if (TopLayer* topLayer = TopLayer::create()) {
        director->setNotificationNode(topLayer);
        topLayer->onEnter();
    }

    settings.applyProfileSettings();

    DataPackReader::getInstance().load("Scenes", settings.getLanguage(), settings.getCurrentUser());

    _keyboardListener = cocos2d::EventListenerKeyboard::create();
    _keyboardListener->onKeyReleased = [this](KeyCode keyCode, cocos2d::Event* event) {
        onKeyReleased(keyCode, event);
    };
    _keyboardListener->onKeyPressed = [this](KeyCode keyCode, cocos2d::Event* event) {
        onKeyPressed(keyCode, event);
    };
    director->getEventDispatcher()->addEventListenerWithFixedPriority(_keyboardListener.get(),
                                                                      kKeyboardListenerPriority);
    return true;
}

void AppDelegate::applicationDidEnterBackground() {
    cocos2d::log("\t* applicationDidEnterBackground");
    pauseAudio();
    Director* director = Director::getInstance();
    director->pause();
    director->stopAnimation();
    UserDataIO::saveUserData();
}

void AppDelegate::applicationWillEnterForeground() {
    cocos2d::log("\t* applicationWillEnterForeground");
}

void AppDelegate::onFocusLost() {
    cocos2d::log("\t* LostFocus");
    if (auto* topLayer = dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer())) {
        topLayer->showPause();
    }
    Director::getInstance()->pause();
    pauseAudio();
}

void AppDelegate::onFocusResumed() {
    cocos2d::log("\t* ResumeFocus");
    if (auto* topLayer = dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer())) {
        topLayer->hidePause();
    }
    Director* director = Director::getInstance();
    director->resume();
    director->startAnimation();
    resumeAudio();
}

void AppDelegate::onCloseRequest() {
    auto* view = dynamic_cast<cocos2d::GLViewImpl*>(Director::getInstance()->getOpenGLView());
    if (view == nullptr) {
        return;
    }
    view->discardCloseWindow();
    Settings::getInstance().confirmExit();
}

void AppDelegate::onWindowResized() {
    cocos2d::log("size changed");
    if (cocos2d::GLView* view = Director::getInstance()->getOpenGLView()) {
        Settings::applyDesignResolution(view);
    }
}

void AppDelegate::onKeyPressed(KeyCode keyCode, cocos2d::Event*) {
    if (isAltKey(keyCode)) {
        _altDown = true;
    } else if (keyCode == KeyCode::KEY_KP_ENTER && _altDown) {
        Settings::getInstance().toggleFullscreen();
    }
}

void AppDelegate::onKeyReleased(KeyCode keyCode, cocos2d::Event*) {
    if (keyCode == KeyCode::KEY_ESCAPE) {
        Settings::getInstance().confirmExit();
        return;
    }
    const int fed = DebugKeySequence::debugCharForKeyCode(keyCode);
    if (fed >= 0) {
        DebugKeySequence::getInstance().feedDebugKey(static_cast<char>(fed));
    }
    if (isAltKey(keyCode)) {
        _altDown = false;
    }
}

void AppDelegate::pauseAudio() {
    GameSound& sound = GameSound::getInstance();
    sound.pauseMusic();
    sound.pauseEffects();
}

void AppDelegate::resumeAudio() {
    GameSound& sound = GameSound::getInstance();
    sound.resumeMusic();
    sound.resumeEffects();
}
