#include "ui/MapScreen.h"

#include <algorithm>
#include <new>

#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/GL.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Button.h"

#include "CountryProgress.h"
#include "GameSound.h"
#include "PackMessage.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "nodes/CountryListItemNode.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/GalleryScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TutorialScreen.h"

namespace {

constexpr const char* kMapFolder = "ui/Map";
constexpr const char* kTransitionEffect = "MM_transition";
constexpr float kGalleryFadeSeconds = 1.0f;
constexpr float kRibbonY = -190.0f;

}  // namespace

MapScreen* MapScreen::create() {
    auto* screen = new (std::nothrow) MapScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

MapScreen::~MapScreen() {
    cocos2d::log("=== %s ===\n", "MapScreen::~MapScreen");
}

bool MapScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }
    _lastListX = 0.0f;
    _startScrollPosition = cocos2d::Vec2::ZERO;
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();

    releaseTextures();

    NodeFromJson description(kMapFolder);
    _backgrounds = description.createNode("Backgrounds");
    if (_backgrounds == nullptr) {
        // Without its description the map has nothing to show: one line, and an empty screen that
        // still offers the exit.
        cocos2d::log("MapScreen: no Backgrounds in %s", kMapFolder);
        _backgrounds = cocos2d::Node::create();
    }
    _backgrounds->setPosition(0.0f, 0.0f);
    addChild(_backgrounds);
    if (cocos2d::Node* credits = _backgrounds->getChildByName("Credits")) {
        credits->removeFromParentAndCleanup(true);
    }

    const cocos2d::Vec2 c = visibleCenter();
    const cocos2d::Vec2 o = director->getVisibleOrigin();

    float mapScale = 1.0f;
    _backgroundMap = dynamic_cast<cocos2d::Sprite*>(_backgrounds->getChildByName("BackgroundMap"));
    if (_backgroundMap != nullptr) {
        _backgroundMap->setAnchorPoint(cocos2d::Vec2(0.0f, 1.0f));
        _backgroundMap->setPosition(-c.x, c.y);
        const float width = _backgroundMap->getContentSize().width;
        if (width > 0.0f) {
            mapScale = 2.0f * c.x / width;
        }
        _backgroundMap->setScale(mapScale);
    }

    _countryList = ScrollViewSnap::create();

    _clouds = dynamic_cast<cocos2d::Sprite*>(_backgrounds->getChildByName("Clouds"));
    if (_clouds != nullptr) {
        _clouds->setAnchorPoint(cocos2d::Vec2(0.0f, 1.0f));
        _clouds->setPosition(-c.x, c.y);
        _clouds->setScale(mapScale);
    }

    if (cocos2d::Node* light = _backgrounds->getChildByName("TopBackgroundLight")) {
        light->setPosition(0.0f, 0.0f);
    }

    // Repeating textures: moving a sprite's texture rectangle scrolls its image endlessly.
    const cocos2d::Texture2D::TexParams repeat{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT};
    for (cocos2d::Sprite* layer : {_backgroundMap, _clouds}) {
        if (layer != nullptr && layer->getTexture() != nullptr) {
            layer->getTexture()->setTexParameters(repeat);
        }
    }

    _faderPlace = _backgrounds->getChildByName("faderPlace");
    if (_faderPlace != nullptr) {
        cocos2d::Sprite* tint = cocos2d::Sprite::create();
        if (tint != nullptr) {
            tint->setTextureRect(cocos2d::Rect(0.0f, 0.0f, visible.width, visible.height));
            tint->setColor(cocos2d::Color3B(224, 247, 255));
            tint->setOpacity(128);
            _faderPlace->addChild(tint);
        }
        _faderPlace->setOpacity(0);
        _faderPlace->setCascadeOpacityEnabled(true);
        _faderPlace->setPosition(0.0f, 0.0f);
    }

    std::vector<CountryListItemNode*> items;
    _newCountry = buildCountryList(description, items);

    const std::string& currentCountry = Settings::getInstance().getCurrentUser().currentPicture.country;
    float x = c.x - o.x;
    float lastX = x;
    int index = 0;
    for (CountryListItemNode* item : items) {
        item->setPosition(x, c.y);
        // The list's snapping and stepping go by the items' tags.
        item->setTag(index++);
        if (_countryList != nullptr) {
            _countryList->addChild(item);
        }
        const cocos2d::Vec2 p(c.x - x - o.x, 0.0f);
        if (!_newCountry.empty() ? _newCountry == item->getName() : currentCountry == item->getName()) {
            _startScrollPosition = p;
        }
        lastX = x;
        x += 1.5f * item->getContentSize().width;
    }

    if (_countryList != nullptr) {
        _countryList->setDirection(cocos2d::ui::ScrollView::Direction::HORIZONTAL);
        _countryList->setInertiaScrollEnabled(true);
        _countryList->setScaleItems(true);
        _countryList->setBounceEnabled(true);
        _countryList->setPosition(o.x, -2.25f * c.y);
        _countryList->setContentSize(visible);
        _countryList->setInnerContainerSize(cocos2d::Size(lastX + c.x, 2.2f * c.y));
        _countryList->setItemTapCallback(
            [this](ScrollViewSnap* sender, cocos2d::Node* item) { onCountryPicked(sender, item); });
        _lastListX = _countryList->getInnerContainerPosition().x;
        cocos2d::Node* place = _backgrounds->getChildByName("ListPlace");
        (place != nullptr ? place : _backgrounds)->addChild(_countryList);
    }

    scheduleUpdate();
    cocos2d::log("MapScreen init -> return TRUE");

    GameSound& sound = GameSound::getInstance();
    sound.preloadEffect(kTransitionEffect);
    sound.startPlaylist();
    addCloseButton();
    return true;
}

std::string MapScreen::buildCountryList(NodeFromJson& description, std::vector<CountryListItemNode*>& items) {
    std::string found;
    const Profile& profile = Settings::getInstance().getCurrentUser();
    for (const auto& [path, country] : profile.world.countries) {
        auto* item = dynamic_cast<CountryListItemNode*>(description.createNode(path));
        if (item == nullptr) {
            // The description is required to hold every country; one that lacks it is left off.
            cocos2d::log("MapScreen: no list item for country %s", path.c_str());
            continue;
        }
        item->setCascadeOpacityEnabled(true);
        float d = 0.0f;
        if (cocos2d::Node* ribbon = item->getChildByName("Ribbon")) {
            d = kRibbonY - ribbon->getPositionY();
            ribbon->setPositionY(kRibbonY);
            ribbon->setCascadeOpacityEnabled(true);
            ribbon->setTag(kRibbonTag);
            ribbon->setLocalZOrder(2);
        }
        if (cocos2d::Node* caption = item->getChildByName("caption")) {
            caption->setPositionY(caption->getPositionY() + d);
            caption->setTag(kCaptionTag);
            caption->setLocalZOrder(3);
        }
        if (cocos2d::Node* icon = item->getChildByName(path + "_icon")) {
            icon->setPosition(0.0f, icon->getPositionY() + d);
            icon->setTag(kIconTag);
            icon->setLocalZOrder(1);
        }
        const int32_t state = getCountryState(path);
        if (state == static_cast<int32_t>(CountryState::Unlocked)) {
            // Unlocked since the last visit: from now on it is shown, and it looks like any open
            // country (no silhouette is made only to be dropped again).
            setCountryState(path, static_cast<int32_t>(CountryState::Shown));
            found = path;
            if (cocos2d::Node* caption = item->getChildByTag(kCaptionTag)) {
                caption->setVisible(true);
                caption->setOpacity(255);
            }
        } else if (state < static_cast<int32_t>(CountryState::Shown)) {
            setLockedLook(item, d);
        }
        items.push_back(item);
    }
    std::sort(items.begin(), items.end(), [](const CountryListItemNode* a, const CountryListItemNode* b) {
        return a->getUnlockOrder() < b->getUnlockOrder();
    });
    return found;
}

void MapScreen::setLockedLook(CountryListItemNode* item, float d) {
    cocos2d::Node* icon = item->getChildByTag(kIconTag);
    cocos2d::Node* ribbon = item->getChildByTag(kRibbonTag);
    cocos2d::Node* caption = item->getChildByTag(kCaptionTag);
    const cocos2d::Size size = item->getLockSize();
    if (caption != nullptr) {
        caption->setVisible(false);
        caption->setOpacity(0);
    }
    const int w = static_cast<int>(size.width);
    const int h = static_cast<int>(size.height);
    if (w >= 1 && h >= 1) {
        item->setPosition(size.width / 2.0f, size.height / 2.0f - d);
        cocos2d::Sprite* shade = cocos2d::Sprite::create();
        cocos2d::RenderTexture* rt = cocos2d::RenderTexture::create(w, h);
        if (shade != nullptr && rt != nullptr) {
            shade->setTextureRect(cocos2d::Rect(0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h)));
            shade->setColor(cocos2d::Color3B(0, 17, 20));
            shade->setPosition(size.width / 2.0f, size.height / 2.0f);
            // Keeps the dark colour only where the country itself was drawn.
            shade->setBlendFunc(cocos2d::BlendFunc{GL_DST_ALPHA, GL_ZERO});
            rt->begin();
            item->visit();
            shade->visit();
            rt->end();
            rt->getSprite()->setOpacity(190);
            rt->getSprite()->setBlendFunc(cocos2d::BlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA});
            rt->setTag(kSilhouetteTag);
            rt->setCascadeOpacityEnabled(true);
            item->addChild(rt);
        }
    }
    if (ribbon != nullptr) {
        ribbon->setVisible(false);
    }
    if (icon != nullptr) {
        icon->setVisible(false);
    }
}

void MapScreen::onEnter() {
    ScreenBase::onEnter();
    if (_countryList != nullptr) {
        _countryList->jumpToScrollPosition(_startScrollPosition);
    }
}

void MapScreen::onEnterTransitionDidFinish() {
    ScreenBase::onEnterTransitionDidFinish();
    Settings& settings = Settings::getInstance();
    Profile& profile = settings.getCurrentUser();
    if (profile.storyLevel < 0 && !settings.isMapChatShown(0)) {
        profile.storyLevel = 0;
        PackMessage* message = getProgressMessage(profile.currentPicture.country, 0);
        if (message != nullptr) {
            ChatScreen* chat = ChatScreen::create();
            if (chat != nullptr) {
                chat->showProgressMessage(message->messageId, true);
                chat->setCloseCallback([this] { showMapTutorial(); });
                addChild(chat);
                return;
            }
        }
    }
    showMapTutorial();
}

void MapScreen::showMapTutorial() {
    Settings& settings = Settings::getInstance();
    if (settings.getCurrentUser().storyLevel != 0 || settings.isTutorialShown(kMapTutorial)) {
        return;
    }
    TutorialScreen* tutorial = TutorialScreen::create();
    if (tutorial != nullptr) {
        tutorial->showTutorial(kMapTutorial, [] {});
        addChild(tutorial);
    }
    settings.save();
}

void MapScreen::update(float) {
    if (_countryList == nullptr) {
        return;
    }
    const float x = _countryList->getInnerContainerPosition().x;
    const float dx = _lastListX - x;
    _lastListX = x;
    if (dx == 0.0f) {
        return;
    }
    if (_backgroundMap != nullptr) {
        cocos2d::Rect rect = _backgroundMap->getTextureRect();
        rect.origin.x += dx / 5.0f;
        _backgroundMap->setTextureRect(rect);
    }
    if (_clouds != nullptr) {
        cocos2d::Rect rect = _clouds->getTextureRect();
        rect.origin.x += dx / 3.5f;
        _clouds->setTextureRect(rect);
    }
}

void MapScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode, cocos2d::Event*) {}

void MapScreen::onCountryPicked(cocos2d::Node*, cocos2d::Node* picked) {
    auto* item = dynamic_cast<CountryListItemNode*>(picked);
    if (item == nullptr || item->isLocked()) {
        return;
    }
    const std::string name = item->getName();
    if (getCountryState(name) < static_cast<int32_t>(CountryState::Opened)) {
        setCountryState(name, static_cast<int32_t>(CountryState::Opened));
    }
    cocos2d::log("Country pressed = %s", name.c_str());
    Settings::getInstance().getCurrentUser().currentPicture.country = name;
    goToGallery();
}

void MapScreen::goToGallery() {
    cocos2d::log("TRANSITION from map to gallery");
    GameSound::getInstance().playEffect(kTransitionEffect, false);
    cocos2d::Scene* scene = cocos2d::Scene::create();
    GalleryScreen* gallery = GalleryScreen::create();
    if (scene == nullptr || gallery == nullptr) {
        return;
    }
    scene->addChild(gallery);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kGalleryFadeSeconds, scene));
}

void MapScreen::releaseTextures() {
    cocos2d::TextureCache* cache = cocos2d::Director::getInstance()->getTextureCache();
    for (const std::string& path : NodeFromJson::collectTextures("ui/Loading")) {
        cache->removeTextureForKey(path);
    }
    Settings& settings = Settings::getInstance();
    const std::string icons = settings.formatScenePath(settings.getCurrentUser().currentPicture.country) + "/icons";
    cocos2d::SpriteFrameCache::getInstance()->removeSpriteFramesFromFile(icons + ".xml");
    cache->removeTextureForKey(icons + ".jpg");
}

void MapScreen::addCloseButton() {
    NodeFromJson loader("ui/GalleryDynamic");
    cocos2d::Node* group = loader.createNode("closeGroup");
    if (group == nullptr) {
        return;
    }
    auto* button = dynamic_cast<cocos2d::ui::Button*>(group->getChildByName("CloseButton"));
    if (button == nullptr) {
        return;
    }
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    group->setPosition(visible.width * 0.5f - 78.0f, visible.height * 0.5f - 109.0f);
    button->addClickEventListener([](cocos2d::Ref*) { Settings::getInstance().confirmExit(); });
    addChild(group);
}
