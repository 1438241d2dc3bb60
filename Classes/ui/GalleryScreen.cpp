#include "ui/GalleryScreen.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

#include "DebugKeySequence.h"
#include "GameSound.h"
#include "ProgressQueries.h"
#include "ScrollingNumberAction.h"
#include "Settings.h"
#include "TextTable.h"
#include "engine/2d/Label.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/2d/ProgressTo.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/StringUtils.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Button.h"
#include "nodes/MuseumStatistic.h"
#include "nodes/PictureDetails.h"
#include "nodes/PictureFrame.h"
#include "ui/CabinetScreen.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/EvidenceAddingScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"
#include "ui/TutorialScreen.h"

using cocos2d::Node;
using cocos2d::Vec2;

namespace {

struct CountryBackground {
    const char* country;
    const char* element;
};

constexpr CountryBackground kCountryBackgrounds[] = {
    {"USA", "background_1"},   {"UnitedKingdom", "background_2"}, {"France", "background_3"},
    {"Netherlands", "background_4"}, {"Ukraine", "background_5"}, {"Spain", "background_6"},
    {"Austria", "background_7"},
};

constexpr GLubyte kArrowOpacity = 75;
constexpr float kScreenFadeSeconds = 1.0f;
constexpr float kFrameRise = 1.05f;
constexpr float kFrameSpacing = 1.2f;
constexpr float kBounceHeight = 30.0f;

Profile& currentUser() {
    return Settings::getInstance().getCurrentUser();
}

const std::string& currentCountry() {
    return currentUser().currentPicture.country;
}

void onClick(Node* node, const std::function<void(cocos2d::Ref*)>& handler) {
    if (auto* widget = dynamic_cast<cocos2d::ui::Widget*>(node)) {
        widget->addClickEventListener(handler);
    }
}

// The number a "$<amount>" label shows.
int32_t shownAmount(const cocos2d::Label* label) {
    const std::string& text = label->getString();
    const size_t dollar = text.find('$');
    if (dollar == std::string::npos) {
        return 0;
    }
    return static_cast<int32_t>(std::strtol(text.c_str() + dollar + 1, nullptr, 10));
}

// Every screen the gallery leaves for fades in over a new scene of its own.
void fadeTo(Node* screen) {
    cocos2d::Scene* scene = cocos2d::Scene::create();
    if (scene == nullptr || screen == nullptr) {
        return;
    }
    scene->addChild(screen);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kScreenFadeSeconds, scene));
}

}  // namespace

GalleryScreen* GalleryScreen::create() {
    auto* screen = new (std::nothrow) GalleryScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

GalleryScreen::~GalleryScreen() {
    cocos2d::log("=== %s ===\n", "GalleryScreen::~GalleryScreen");
    Settings::getInstance().save();
}

std::string GalleryScreen::backgroundNameOf(const std::string& country) {
    for (const CountryBackground& entry : kCountryBackgrounds) {
        if (country == entry.country) {
            return entry.element;
        }
    }
    return std::string();
}

std::string GalleryScreen::getBackgroundName() const {
    return backgroundNameOf(currentCountry());
}

bool GalleryScreen::init() {
    _goalReached = false;
    _inputLocked = true;
    _packCountry = nullptr;
    _scrollSoundId = -1;
    if (!ScreenBase::init()) {
        return false;
    }

    NodeFromJson loader("ui/Gallery");
    const std::string backgroundName = getBackgroundName();
    if (!backgroundName.empty()) {
        if (Node* background = loader.createNode(backgroundName)) {
            addChild(background);
        }
    }
    _uiRoot = loader.createNode("UI");
    Node* listPlace = _uiRoot != nullptr ? _uiRoot->getChildByName("PicturesList") : nullptr;
    if (listPlace == nullptr) {
        cocos2d::log("GalleryScreen: ui/Gallery has no UI with PicturesList");
        return false;
    }
    addChild(_uiRoot);

    updateProgressBar(false);
    setupTopPanel();

    cocos2d::Director* director = cocos2d::Director::getInstance();
    const Vec2 origin = director->getVisibleOrigin();
    const Vec2 centre = visibleCenter();
    _pictureList = ScrollViewSnap::create();
    if (_pictureList == nullptr) {
        return false;
    }
    _pictureList->setDirection(cocos2d::ui::ScrollView::Direction::HORIZONTAL);
    _pictureList->setInertiaScrollEnabled(true);
    _pictureList->setBounceEnabled(true);
    _pictureList->setPosition(Vec2(origin.x, origin.y - 2.0f * centre.y));
    _pictureList->setContentSize(director->getVisibleSize());
    _pictureList->setItemTapCallback([this](ScrollViewSnap* list, Node* item) { onPictureTapped(list, item); });
    _pictureList->setCascadeOpacityEnabled(true);
    _pictureList->setPropagateTouchEvents(true);
    listPlace->addChild(_pictureList);

    GameSound& sound = GameSound::getInstance();
    for (const char* effect : {"FlyStars", "btnDown", "gallery_scroll", "Message1"}) {
        sound.preloadEffect(effect);
    }
    addShade(loader);

    auto* keys = cocos2d::EventListenerKeyboard::create();
    keys->onKeyReleased = [this](cocos2d::EventKeyboard::KeyCode code, cocos2d::Event* event) {
        onKeyReleased(code, event);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(keys, this);
    return true;
}

void GalleryScreen::onEnter() {
    Node::onEnter();
    buildPictureList();
    if (currentUser().storyLevel == 0) {
        showGalleryTutorial(11);
    }
}

void GalleryScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) {
    Layer::onKeyReleased(keyCode, event);
    if (!DebugKeySequence::getInstance().isDebugMode()) {
        return;
    }
    using Key = cocos2d::EventKeyboard::KeyCode;
    if (keyCode == Key::KEY_F1) {
        openCabinet(true);
    } else if (keyCode == Key::KEY_F2) {
        Settings::getInstance().debugUnlockAll();
        fadeTo(MapScreen::create());
    } else if (keyCode == Key::KEY_F3) {
        onMuseumResult(MuseumStatistic::completeCollection() ? MuseumStatistic::kPaidAndUnlocked
                                                              : MuseumStatistic::kPaidNothingUnlocked);
    }
}

void GalleryScreen::addShade(NodeFromJson& loader) {
    auto* shade = dynamic_cast<cocos2d::Sprite*>(loader.createNode("shadeTex"));
    cocos2d::Texture2D* texture = shade != nullptr ? shade->getTexture() : nullptr;
    if (texture == nullptr) {
        return;
    }
    const float height = cocos2d::Director::getInstance()->getVisibleSize().height;
    const cocos2d::Rect rect(0.0f, 0.0f, shade->getContentSize().width, height);
    if (Node* left = _uiRoot->getChildByName("shadeLeft")) {
        cocos2d::Sprite* sprite = cocos2d::Sprite::createWithTexture(texture);
        sprite->setTextureRect(rect);
        sprite->setAnchorPoint(Vec2(0.5f, 0.0f));
        left->addChild(sprite);
    }
    if (Node* right = _uiRoot->getChildByName("shadeRight")) {
        cocos2d::Sprite* sprite = cocos2d::Sprite::createWithTexture(texture);
        sprite->setRotation(180.0f);
        sprite->setTextureRect(rect);
        sprite->setAnchorPoint(Vec2(0.5f, 1.0f));
        right->addChild(sprite);
    }
}

void GalleryScreen::setupTopPanel() {
    if (Node* statistics = _uiRoot->getChildByName("Statistics")) {
        statistics->setPositionX(0.0f);
        if (Node* button = statistics->getChildByName("btn")) {
            onClick(button, [this](cocos2d::Ref* sender) { onStatisticsButton(sender); });
            _statisticsButtonPosition = button->getPosition();
        }
        if (auto* label = dynamic_cast<cocos2d::Label*>(statistics->getChildByName("label"))) {
            label->setString(TextTable::getInstance().getText("ui", "statistics"));
        }
    }
    onClick(_uiRoot->getChildByName("Cabinet"), [this](cocos2d::Ref* sender) { onCabinetButton(sender); });
    onClick(_uiRoot->getChildByName("Options"), [this](cocos2d::Ref* sender) { onOptionsButton(sender); });
    if (Node* right = _uiRoot->getChildByName("Arrow_right")) {
        onClick(right, [this](cocos2d::Ref* sender) { onArrowRight(sender); });
        right->setOpacity(kArrowOpacity);
        right->setCascadeOpacityEnabled(true);
    }
    if (Node* left = _uiRoot->getChildByName("Arrow_left")) {
        onClick(left, [this](cocos2d::Ref* sender) { onArrowLeft(sender); });
        left->setOpacity(kArrowOpacity);
        left->setCascadeOpacityEnabled(true);
    }
    showAvatar(currentCountry());
    if (auto* map = dynamic_cast<cocos2d::ui::Button*>(_uiRoot->getChildByName("Map"))) {
        const float y = map->getPositionY();
        const float anchorY = map->getAnchorPointInPoints().y;
        using cocos2d::ui::Widget;
        map->loadTextureNormal("icon_" + currentCountry() + ".png", Widget::TextureResType::PLIST);
        map->loadTexturePressed("icon_" + currentCountry() + "_over.png", Widget::TextureResType::PLIST);
        // Its bottom edge stays where the description put it, whatever the icon's height.
        map->setPositionY(y + (map->getAnchorPointInPoints().y - anchorY));
        map->addClickEventListener([this](cocos2d::Ref* sender) { onMapButton(sender); });
    }
    showMarker("newEvidancePlace", hasNewEvidence());
    showMarker("newCountryNotification", hasNewCountry());
}

void GalleryScreen::showAvatar(const std::string& name) {
    _uiRoot->removeChildByName("avatarSprite", true);
    Node* place = _uiRoot->getChildByName("avatarPlace");
    if (place == nullptr) {
        return;
    }
    const std::string element = "avatar_" + name + "_small";
    NodeFromJson chat("ui/Chat");
    Node* avatar = chat.createNode(element);
    if (avatar == nullptr) {
        cocos2d::log("courator image not found: '%s'", element.c_str());
        return;
    }
    avatar->setPosition(place->getPositionX(), place->getPositionY() + avatar->getAnchorPointInPoints().y -
                                                   place->getAnchorPointInPoints().y);
    avatar->setName("avatarSprite");
    _uiRoot->addChild(avatar);
}

void GalleryScreen::showMarker(const std::string& name, bool visible) {
    Node* marker = _uiRoot->getChildByName(name);
    if (marker == nullptr) {
        return;
    }
    marker->setVisible(visible);
    if (visible) {
        marker->setOpacity(0);
        marker->setScale(0.1f);
        marker->runAction(cocos2d::EaseBackInOut::create(
            cocos2d::Spawn::create(cocos2d::FadeIn::create(0.5f), cocos2d::ScaleTo::create(0.5f, 1.0f), nullptr)));
    }
}

PopupScreenBase* GalleryScreen::showPopup(bool fadeIn) {
    PopupScreenBase* container = PopupScreenBase::create();
    _openPanel = container;
    container->setOnClose([this] {
        _openPanel = nullptr;
        unlockInput();
    });
    container->setLocalZOrder(1);
    addChild(container);
    if (fadeIn) {
        container->setCascadeOpacityEnabled(true);
        container->setOpacity(0);
        container->runAction(cocos2d::FadeIn::create(0.2f));
    }
    _inputLocked = true;
    return container;
}

void GalleryScreen::unlockInput() {
    // A tutorial that lets its tap through closes in the frame after the tap, which may have opened
    // the museum by then: the panel keeps the input.
    if (_openPanel != nullptr) {
        return;
    }
    _inputLocked = false;
}

void GalleryScreen::onStatisticsButton(cocos2d::Ref*) {
    if (_inputLocked) {
        return;
    }
    NodeFromJson loader("ui/MuseumStatistic");
    auto* panel = dynamic_cast<MuseumStatistic*>(loader.createNode("MuseumStatUI"));
    if (panel == nullptr) {
        cocos2d::log("GalleryScreen: no MuseumStatUI in ui/MuseumStatistic");
        return;
    }
    panel->setCallback([this](int result) { onMuseumResult(result); });
    panel->setScale(0.4f);
    panel->runAction(cocos2d::EaseBackOut::create(cocos2d::ScaleTo::create(0.15f, 1.0f)));
    showPopup(false)->addChild(panel);
    if (Node* statistics = _uiRoot->getChildByName("Statistics")) {
        if (Node* button = statistics->getChildByName("btn")) {
            button->stopAllActions();
            button->setPosition(_statisticsButtonPosition);
        }
    }
    GameSound::getInstance().playEffect("btnDown", false);
}

void GalleryScreen::onOptionsButton(cocos2d::Ref*) {
    if (_inputLocked) {
        return;
    }
    Settings::getInstance().setReturnScreen("gallery");
    NodeFromJson loader("ui/OptionsScreen");
    // The options panel is made by its class name; without that class nothing opens.
    Node* panel = loader.createNode("UI");
    if (panel != nullptr) {
        showPopup(false)->addChild(panel);
    }
    GameSound::getInstance().playEffect("btnDown", false);
}

void GalleryScreen::onCabinetButton(cocos2d::Ref*) {
    if (_inputLocked) {
        return;
    }
    GameSound::getInstance().playEffect("btnDown", false);
    saveListPosition();
    fadeTo(CabinetScreen::create());
}

void GalleryScreen::onMapButton(cocos2d::Ref*) {
    if (_inputLocked) {
        return;
    }
    GameSound::getInstance().playEffect("btnDown", false);
    saveListPosition();
    fadeTo(MapScreen::create());
}

void GalleryScreen::openCabinet(bool withCage) {
    saveListPosition();
    CabinetScreen* cabinet = CabinetScreen::create();
    if (cabinet != nullptr && withCage) {
        Settings::getInstance().setReturnScreen("gallery");
        cabinet->showCage();
    }
    fadeTo(cabinet);
}

void GalleryScreen::onArrowLeft(cocos2d::Ref*) {
    if (_pictureList->getCurrentIndex() <= 0) {
        return;
    }
    _pictureList->scrollByItems(-1);
    GameSound::getInstance().stopEffect(_scrollSoundId, false);
    _scrollSoundId = GameSound::getInstance().playEffect("gallery_scroll", false);
}

void GalleryScreen::onArrowRight(cocos2d::Ref*) {
    const int count = static_cast<int>(_pictureList->getItems().size());
    if (_pictureList->getCurrentIndex() >= count - 1) {
        return;
    }
    _pictureList->scrollByItems(1);
    GameSound::getInstance().stopEffect(_scrollSoundId, false);
    _scrollSoundId = GameSound::getInstance().playEffect("gallery_scroll", false);
}

void GalleryScreen::onPictureTapped(ScrollViewSnap*, Node* item) {
    if (_inputLocked || item == nullptr) {
        return;
    }
    const std::string name = item->getName();
    if (isPictureLocked(name)) {
        showGalleryTutorial(12);
        return;
    }
    GameSound::getInstance().playEffect("btnDown", false);
    if (auto* frame = dynamic_cast<PictureFrame*>(item)) {
        currentUser().currentPicture = frame->getPictureKey();
    }
    showPictureDetails(name);
}

void GalleryScreen::showPictureDetails(const std::string& name) {
    const PictureKey key = currentUser().currentPicture;
    NodeFromJson loader("ui/GalleryDynamic");
    auto* details = dynamic_cast<PictureDetails*>(loader.createNode("PictureDetails"));
    if (details == nullptr) {
        cocos2d::log("GalleryScreen: no PictureDetails in ui/GalleryDynamic");
        return;
    }
    details->showPicture(name);
    details->setPosition(Vec2::ZERO);
    details->setScale(0.6f);
    details->runAction(cocos2d::EaseBackOut::create(cocos2d::ScaleTo::create(0.15f, 1.0f)));
    PopupScreenBase* container = PopupScreenBase::create();
    if (container == nullptr) {
        return;
    }
    container->addChild(details);
    addChild(container);

    const bool levelExists = cocos2d::FileUtils::getInstance()->isFileExist(
        "Scenes/" + key.country + "/" + key.picture + "/ccnode.json");
    const PictureProgress& record = currentUser().world.pictures[name];
    if (auto* play = dynamic_cast<cocos2d::ui::Widget*>(details->getChildByName("Play"))) {
        if (levelExists && !record.finished) {
            play->addClickEventListener([this](cocos2d::Ref* sender) { playPicture(sender); });
        } else {
            play->removeFromParentAndCleanup(true);
            details->showFinishedPicture();
        }
    }
}

void GalleryScreen::playPicture(cocos2d::Ref*) {
    GameSound::getInstance().playEffect("MM_transition", false);
    saveListPosition();
    fadeTo(GameScreen::create());
}

// --- the picture list and its notifications ---------------------------------------------------

void GalleryScreen::buildPictureList() {
    NodeFromJson loader("ui/GalleryDynamic");
    _pictureList->removeAllChildrenWithCleanup(true);

    const Vec2 centre = visibleCenter();
    const Vec2 origin = cocos2d::Director::getInstance()->getVisibleOrigin();
    float x = centre.x;
    float step = 0.0f;
    int index = 0;
    bool positioned = false;
    bool animating = false;
    bool mayJump = true;

    Profile& profile = currentUser();
    const std::string country = profile.currentPicture.country;
    _packCountry = findPackCountry(country);

    const std::string sheet =
        cocos2d::StringUtils::format("%s/icons", Settings::getInstance().getScenePath(country).c_str());
    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile(sheet + ".xml", sheet + ".jpg");

    // The pack's pictures are copied: unlocking below may touch the profile's packs.
    const std::vector<PackPicture> pictures =
        _packCountry != nullptr ? _packCountry->pictures : std::vector<PackPicture>();
    for (const PackPicture& picture : pictures) {
        auto* frame = dynamic_cast<PictureFrame*>(loader.createNode("PictureFrame"));
        if (frame == nullptr) {
            continue;
        }
        frame->setPosition(x, centre.y * kFrameRise);
        _pictureList->addChild(frame, 0, index);
        ++index;
        const bool earned = frame->setPicture(PictureKey{country, picture.path});
        const WorldProgress& world = profile.world;
        if (earned) {
            cocos2d::log("list pos extraPoints");
            mayJump = false;
            positioned = true;
            scrollListTo(centre.x - x - origin.x, 0.0f);
            playEarningsEffect(frame, 0.2f);
        } else if (picture.path == world.lastOpenedPicture) {
            if (mayJump) {
                cocos2d::log("list pos canMoveToLastOpened");
                if (picture.path == world.lastUnlockedPicture) {
                    frame->playUnlockAnimation();
                    Settings::getInstance().save();
                }
            } else if (picture.path == world.lastUnlockedPicture) {
                positioned = true;
                animating = true;
                _pictureList->setEnabled(false);
                showMarker("newEvidancePlace", false);
                const float offset = centre.x - x - origin.x;
                cocos2d::RefPtr<PictureFrame> unlocked(frame);
                runAction(cocos2d::Sequence::create(
                    cocos2d::DelayTime::create(1.2f), cocos2d::CallFunc::create([this, offset] {
                        cocos2d::log("list pos in UnlockAnimation");
                        scrollListTo(offset, 0.7f);
                    }),
                    cocos2d::DelayTime::create(0.7f), cocos2d::CallFunc::create([this, unlocked] {
                        unlocked->playUnlockAnimation();
                        _pictureList->setEnabled(true);
                        saveListPosition();
                    }),
                    cocos2d::DelayTime::create(1.0f), cocos2d::CallFunc::create([this] { finishListChain(); }),
                    nullptr));
            }
        }
        step = frame->getContentSize().width * kFrameSpacing;
        x += step;
    }

    const cocos2d::Size innerSize(x - step + centre.x, 2.0f * centre.y);
    if (positioned) {
        saveListPosition();
    } else {
        cocos2d::log("list pos restored from saved");
        // The saved position comes from the save file: keep it where the list can stand, so a damaged or
        // outdated value never leaves the pictures off screen.
        const float lowest = std::min(0.0f, _pictureList->getContentSize().width - innerSize.width);
        const float saved =
            std::clamp(static_cast<float>(profile.world.countries[country].listPosition), lowest, 0.0f);
        cocos2d::log("menu moved: %f", saved);
        _pictureList->jumpToScrollPosition(Vec2(saved, _pictureList->getScrollPosition().y));
    }
    _pictureList->setInnerContainerSize(innerSize);
    _pictureList->setBounceEnabled(true);

    if (!animating) {
        finishListChain();
    }
}

void GalleryScreen::finishListChain() {
    if (showPendingEvidence()) {
        GameSound::getInstance().playEffect("Message1", false);
    } else if (!leadIntoEndingIfDue()) {
        _inputLocked = false;
    }
}

bool GalleryScreen::isEndingDue() {
    return hasAllEvidence() && areAllCountriesCompleted() && !currentUser().isEndingPlayed();
}

bool GalleryScreen::leadIntoEndingIfDue() {
    if (!isEndingDue()) {
        return false;
    }
    cocos2d::log("GalleryScreen: the ending is due");
    currentUser().cageUnlocked = true;
    openCabinet(true);
    return true;
}

void GalleryScreen::scrollListTo(float offset, float duration) {
    cocos2d::log("menu moved: %f", offset);
    const Vec2 target(offset, _pictureList->getScrollPosition().y);
    if (duration == 0.0f) {
        _pictureList->jumpToScrollPosition(target);
    } else {
        _pictureList->animateToScrollPosition(target, duration);
    }
}

void GalleryScreen::saveListPosition() {
    if (_packCountry == nullptr) {
        return;
    }
    const float x = _pictureList->getInnerContainerPosition().x;
    cocos2d::log("save menu pos: %f", x);
    currentUser().world.countries[_packCountry->path].listPosition = static_cast<int32_t>(x);
}

void GalleryScreen::playEarningsEffect(PictureFrame* frame, float delay) {
    const Vec2 star = frame->getStarWorldPosition();
    runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(0.3f),
        cocos2d::CallFunc::create([] { GameSound::getInstance().playEffect("FlyStars", false); }), nullptr));
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(delay * 0.5f),
                                        cocos2d::CallFunc::create([this, star] {
                                            flyCoin(convertToNodeSpace(star), "OnePictureCoin", 0.5f);
                                        }),
                                        nullptr));
}

void GalleryScreen::flyCoin(const Vec2& position, const std::string& element, float duration) {
    NodeFromJson loader("ui/GalleryDynamic");
    Node* coin = loader.createNode(element);
    if (coin == nullptr) {
        cocos2d::log("GalleryScreen: no '%s' in ui/GalleryDynamic", element.c_str());
        updateProgressBar(true);
        return;
    }
    coin->setPosition(position);
    _uiRoot->addChild(coin);
    if (cocos2d::ParticleSystemQuad* sparks = cocos2d::ParticleSystemQuad::create("particles/item_collected.plist")) {
        // A short burst that trails the coin.
        sparks->setDuration(1.0f);
        sparks->setAutoRemoveOnFinish(true);
        sparks->setPosition(Vec2::ZERO);
        coin->addChild(sparks);
    }
    Node* bar = _uiRoot->getChildByName("progres");
    const Vec2 to = bar != nullptr ? bar->getPosition() : position;
    cocos2d::RefPtr<Node> keep(coin);
    coin->runAction(cocos2d::Sequence::create(
        cocos2d::MoveTo::create(duration, to), cocos2d::CallFunc::create([this] { updateProgressBar(true); }),
        cocos2d::ScaleTo::create(0.25f, 0.0f),
        cocos2d::CallFunc::create([this, keep] { _uiRoot->removeChild(keep.get(), true); }), nullptr));
}

void GalleryScreen::updateProgressBar(bool animate) {
    const Profile& profile = currentUser();
    const int32_t money = profile.money;
    const int32_t goal = profile.collectionGoal;
    const bool completed = isCountryCompleted(profile.currentPicture.country);
    _goalReached = money > goal;

    Node* bar = _uiRoot->getChildByName("progres");
    if (bar == nullptr) {
        return;
    }
    bar->setVisible(!completed);
    if (auto* filler = dynamic_cast<cocos2d::ProgressTimer*>(bar->getChildByName("progresFiller"))) {
        // A goal of 0 or less has been passed by any money; the bar shows full rather than not a number.
        const float percent = goal > 0 ? static_cast<float>(money) * 100.0f / static_cast<float>(goal)
                                       : (money > goal ? 100.0f : 0.0f);
        if (animate) {
            filler->runAction(cocos2d::ProgressTo::create(1.0f, percent));
        } else {
            filler->setPercentage(percent);
        }
    }
    if (auto* label = dynamic_cast<cocos2d::Label*>(bar->getChildByName("prograsLabel"))) {
        if (animate) {
            label->runAction(ScrollingNumberAction::create(shownAmount(label), money, 1.0f, "$"));
        } else {
            label->setString(cocos2d::StringUtils::format("$%d", money));
        }
    }
}

bool GalleryScreen::showPendingEvidence() {
    const std::string name = currentUser().newestEvidence;
    if (name.empty()) {
        return checkCurator();
    }
    showEvidenceAdding(name);
    return true;
}

void GalleryScreen::showEvidenceAdding(const std::string& name) {
    EvidenceAddingScreen* popup = EvidenceAddingScreen::create();
    if (popup == nullptr) {
        // Without the popup the chain goes on as if it had been shown and closed.
        currentUser().newestEvidence.clear();
        onEvidenceAdded();
        return;
    }
    addChild(popup);
    Node* cabinet = _uiRoot->getChildByName("Cabinet");
    popup->show(name, cabinet != nullptr ? cabinet->getPosition() : Vec2::ZERO);
    popup->setOnEvidenceClosed([this] { onEvidenceAdded(); });
}

void GalleryScreen::onEvidenceAdded() {
    showMarker("newEvidancePlace", true);
    // The last evidence of a finished game leads on into the ending; the input stays locked meanwhile.
    if (leadIntoEndingIfDue()) {
        return;
    }
    if (!checkCurator()) {
        _inputLocked = false;
    }
}

bool GalleryScreen::checkCurator() {
    const std::string& country = currentCountry();
    if (_goalReached) {
        if (showCuratorChat(15)) {
            return true;
        }
        if (!isCountryCompleted(country)) {
            Node* statistics = _uiRoot->getChildByName("Statistics");
            Node* button = statistics != nullptr ? statistics->getChildByName("btn") : nullptr;
            if (button != nullptr) {
                const Vec2 rest = _statisticsButtonPosition;
                button->runAction(cocos2d::RepeatForever::create(cocos2d::Sequence::create(
                    cocos2d::EaseIn::create(cocos2d::MoveTo::create(0.15f, rest + Vec2(0.0f, kBounceHeight)), 1.0f),
                    cocos2d::EaseBackOut::create(cocos2d::MoveTo::create(0.25f, rest)),
                    cocos2d::DelayTime::create(1.0f), nullptr)));
            }
        }
        return false;
    }
    if (areAllPicturesRestored(country) && !isCountryCompleted(country)) {
        showGalleryTutorial(14);
    }
    return false;
}

bool GalleryScreen::showCuratorChat(int number) {
    TutorialScreen* tutorial = showGalleryTutorial(number);
    if (tutorial == nullptr) {
        return false;
    }
    Node* place = _uiRoot->getChildByName("chat_place");
    ChatScreen* chat = place != nullptr ? ChatScreen::create() : nullptr;
    if (chat == nullptr) {
        cocos2d::log("GalleryScreen: no chat_place for the curator");
        return false;
    }
    chat->showMessage(cocos2d::StringUtils::format("tutorials.tutorial-%d_1", number), false);
    chat->setCloseCallback([this] { unlockInput(); });
    place->addChild(chat);
    speakWithTutorial(chat, tutorial);
    return true;
}

TutorialScreen* GalleryScreen::showGalleryTutorial(int number) {
    if (Settings::getInstance().isTutorialShown(number)) {
        return nullptr;
    }
    TutorialScreen* tutorial = TutorialScreen::create();
    if (tutorial != nullptr) {
        tutorial->showTutorial(number, [this] { unlockInput(); });
        addChild(tutorial);
    }
    Settings::getInstance().save();
    return tutorial;
}

void GalleryScreen::speakWithTutorial(ChatScreen* chat, TutorialScreen* tutorial) {
    if (chat == nullptr || tutorial == nullptr || tutorial->isBlockingTouches() || tutorial->getSteps().empty()) {
        return;
    }
    // The last step asks for the tap; its origin is where its arrow's tip points.
    Node* button = topPanelButtonAt(tutorial->getSteps().back()->convertToWorldSpace(Vec2::ZERO));
    if (button == nullptr) {
        return;
    }
    // The screen under a tutorial that lets taps through is live: the chat no longer darkens it.
    chat->removeDimBackground();
    chat->accompanyTutorial(button);
}

Node* GalleryScreen::topPanelButtonAt(const Vec2& worldPoint) const {
    Node* statistics = _uiRoot->getChildByName("Statistics");
    Node* const buttons[] = {statistics != nullptr ? statistics->getChildByName("btn") : nullptr,
                             _uiRoot->getChildByName("Cabinet"),    _uiRoot->getChildByName("Options"),
                             _uiRoot->getChildByName("Map"),        _uiRoot->getChildByName("Arrow_left"),
                             _uiRoot->getChildByName("Arrow_right")};
    for (Node* node : buttons) {
        auto* button = dynamic_cast<cocos2d::ui::Widget*>(node);
        if (button != nullptr && button->isVisible() && button->hitTest(worldPoint)) {
            return button;
        }
    }
    return nullptr;
}

ChatScreen* GalleryScreen::showProgressChat() {
    const Profile& profile = currentUser();
    const PackMessage* message = getProgressMessage(profile.currentPicture.country, profile.progressIndex);
    if (message == nullptr) {
        return nullptr;
    }
    Node* place = _uiRoot->getChildByName("chat_place");
    ChatScreen* chat = place != nullptr ? ChatScreen::create() : nullptr;
    if (chat == nullptr) {
        cocos2d::log("GalleryScreen: no chat_place for the curator");
        return nullptr;
    }
    chat->showProgressMessage(message->messageId, false);
    chat->setCloseCallback([this] { onProgressChatClosed(); });
    place->addChild(chat);
    if (areAllCountriesCompleted()) {
        showAvatar("Tobbin");
    }
    return chat;
}

void GalleryScreen::onProgressChatClosed() {
    if (areAllCountriesCompleted()) {
        if (!leadIntoEndingIfDue()) {
            _inputLocked = false;
        }
        return;
    }
    showMarker("newCountryNotification", true);
    _inputLocked = false;
}

void GalleryScreen::onMuseumResult(int result) {
    if (result <= 0) {
        return;
    }
    if (result == MuseumStatistic::kPaidNothingUnlocked && hasAllEvidence()) {
        currentUser().cageUnlocked = true;
    }
    updateProgressBar(false);
    TutorialScreen* tutorial = showGalleryTutorial(16);
    speakWithTutorial(showProgressChat(), tutorial);
}
