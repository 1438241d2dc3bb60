#include "ui/SplashScreen.h"

#include <new>
#include <string>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionFade.h"

#include "GameSound.h"
#include "XmlDocument.h"
#include "ui/LoadingScreen.h"

namespace {

constexpr float kToLoadingSeconds = 0.3f;
// Our images stay 2 to 2.5 s; a minute is more than any splash image is meant to stay.
constexpr double kMaxSecondsShown = 60.0;

}  // namespace

SplashScreen* SplashScreen::create() {
    auto* screen = new (std::nothrow) SplashScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

SplashScreen::~SplashScreen() = default;

bool SplashScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }
    _leaving = false;
    scheduleUpdate();

    auto* listener = cocos2d::EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(false);
    listener->onTouchBegan = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        return onTouchBegan(touch, event);
    };
    listener->onTouchMoved = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchMoved(touch, event);
    };
    listener->onTouchEnded = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    listener->onTouchCancelled = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);

    readSplashList();
    return true;
}

void SplashScreen::readSplashList() {
    const std::string text = readXmlFileText(kSplashListPath);
    XmlDocument document;
    const rapidxml::xml_node<char>* root = nullptr;
    if (!document.parse(text)) {
        cocos2d::log("Load %s list: %s", kSplashListPath, document.error().c_str());
    } else {
        root = document.root("Document");
        if (root == nullptr) {
            cocos2d::log("Load %s list: %s", kSplashListPath,
                         text.empty() ? "the file is missing or empty" : "no root element \"Document\"");
        } else if (childElements(root).empty()) {
            // A list that names nothing is as much a fault of the file as one that does not parse.
            cocos2d::log("Load %s list: %s", kSplashListPath, "no image elements");
        }
    }

    for (const rapidxml::xml_node<char>* element : childElements(root)) {
        Entry entry;
        entry.fileName = attributeText(element, "filename");
        entry.timeToShow = static_cast<float>(
            boundedDecimal(element, "timeToShow", 0.0, kMaxSecondsShown,
                           std::string(kSplashListPath) + ": image " + quotedForLog(entry.fileName)));
        entry.skip = attributeText(element, "skip") == "true";
        // An image that does not load is left out (the sprite's own line names the file).
        entry.sprite = entry.fileName.empty() ? nullptr : cocos2d::Sprite::create("splash/" + entry.fileName);
        if (entry.sprite == nullptr) {
            continue;
        }
        entry.sprite->setPosition(0.0f, 0.0f);
        entry.sprite->setOpacity(0);
        addChild(entry.sprite);
        _entries.push_back(entry);
    }

    _currentIndex = -1;
    _elapsed = 0.0f;
    _showing = false;
    if (_entries.empty()) {
        _nothingToShow = true;
        return;
    }
    showNextImage();
}

void SplashScreen::showNextImage() {
    if (_leaving) {
        return;
    }
    const int count = static_cast<int>(_entries.size());
    if (_currentIndex == count) {
        leaveForLoadingScreen();
        return;
    }
    stopAllActions();
    const int previous = _currentIndex;
    ++_currentIndex;
    // The last image is never faded out: it stays while the scene fades away.
    if (previous >= 0 && previous != count - 1) {
        _entries[static_cast<size_t>(previous)].sprite->runAction(cocos2d::FadeOut::create(_fadeTime));
    }
    if (_currentIndex >= count) {
        leaveForLoadingScreen();
        return;
    }
    _showing = false;
    cocos2d::Sprite* sprite = _entries[static_cast<size_t>(_currentIndex)].sprite;
    if (_currentIndex == 0) {
        sprite->setOpacity(255);
    } else {
        sprite->runAction(cocos2d::FadeIn::create(_fadeTime));
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(_fadeTime),
                                        cocos2d::CallFunc::create([this] {
                                            _showing = true;
                                            _elapsed = 0.0f;
                                        }),
                                        nullptr));
}

void SplashScreen::update(float dt) {
    if (_leaving) {
        return;
    }
    if (_nothingToShow) {
        leaveForLoadingScreen();
        return;
    }
    if (!_showing) {
        return;
    }
    _elapsed += dt;
    if (_elapsed >= _entries[static_cast<size_t>(_currentIndex)].timeToShow) {
        showNextImage();
    }
}

bool SplashScreen::onTouchBegan(cocos2d::Touch*, cocos2d::Event*) {
    return true;
}

void SplashScreen::onTouchMoved(cocos2d::Touch*, cocos2d::Event*) {}

void SplashScreen::onTouchEnded(cocos2d::Touch*, cocos2d::Event*) {
    if (_leaving) {
        return;
    }
    if (_showing && _currentIndex >= 0 && _currentIndex < static_cast<int>(_entries.size()) &&
        _entries[static_cast<size_t>(_currentIndex)].skip) {
        showNextImage();
    }
    leaveForLoadingScreen();
}

void SplashScreen::onEnterTransitionDidFinish() {
    ScreenBase::onEnterTransitionDidFinish();
    GameSound::getInstance().preloadMusic("Music/theme_1");
    if (_nothingToShow) {
        leaveForLoadingScreen();
    }
}

void SplashScreen::leaveForLoadingScreen() {
    if (_leaving) {
        return;
    }
    _leaving = true;
    cocos2d::Scene* scene = cocos2d::Scene::create();
    if (LoadingScreen* loading = LoadingScreen::create()) {
        scene->addChild(loading);
    }
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kToLoadingSeconds, scene));
}
