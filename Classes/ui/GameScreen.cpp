#include "ui/GameScreen.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "engine/2d/Label.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/2d/ProgressTo.h"
#include "engine/actions/BezierTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/Repeat.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/actions/TintTo.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/StringUtils.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Widget.h"

#include "DebugKeySequence.h"
#include "GameSound.h"
#include "PictureKey.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "ScrollingNumberAction.h"
#include "Settings.h"
#include "UserDataIO.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/FlaskLiquid.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/GameTutorialsLayer.h"
#include "gameBoard/HiddenObject.h"
#include "gameBoard/LevelReward.h"
#include "minigames/MinigamesSelectionScreen.h"
#include "nodes/FlyNode.h"
#include "nodes/LevelNode.h"
#include "nodes/LevelStatistic.h"
#include "nodes/OptionsScreen.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/GalleryScreen.h"
#include "ui/MapScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"

using cocos2d::Node;
using cocos2d::Vec2;

namespace {

// The intro level's picture, played while the player has no current picture.
constexpr const char* kDemoCountry = "demo";
constexpr const char* kDemoPicture = "Vesquino";
// The level's end sounds; each end plays one of them, once.
constexpr const char* kWinSound = "HO_Win";
constexpr const char* kLossSound = "Minigames/MG_LooseSound";

// Effects the tools, the spray and the result popup play: loaded before the first stroke.
constexpr const char* kPreloadedEffects[] = {"HO_Win",      "stat_stars_fly", "tool_wrong",   "reagent_miss",
                                             "drop",        "defect_rub",     "defect_paint", "defect_tear"};

int32_t storyLevel() {
    return Settings::getInstance().getCurrentUser().storyLevel;
}

// A node's user data holds a small number: a star's lit flag, the score label's value.
int32_t userNumber(const Node* node) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(node->getUserData()));
}

void setUserNumber(Node* node, int32_t value) {
    node->setUserData(reinterpret_cast<void*>(static_cast<intptr_t>(value)));
}

float nudgeInterval(int32_t level, int32_t slowFrom) {
    return level >= slowFrom ? 5.0f : 1.0f;
}

// The defect a missed stroke of the tool leaves behind.
int leftDefect(ToolState tool) {
    switch (tool) {
        case ToolState::Eraser:
            return static_cast<int>(DefectKind::Scrape);
        case ToolState::Brush:
            return static_cast<int>(DefectKind::Blot);
        case ToolState::Knife:
            return static_cast<int>(DefectKind::Cut);
        default:
            return -1;
    }
}

cocos2d::ParticleSystemQuad* burst(const std::string& file) {
    cocos2d::ParticleSystemQuad* particles = cocos2d::ParticleSystemQuad::create(file);
    if (particles != nullptr) {
        particles->setAutoRemoveOnFinish(true);
    }
    return particles;
}

}  // namespace

GameScreen* GameScreen::create() {
    auto* screen = new (std::nothrow) GameScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

GameScreen::~GameScreen() {
    if (_board != nullptr) {
        _board->cleanup();
    }
    cocos2d::log("=== %s ===\n", "GameScreen::~GameScreen");
}

bool GameScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }
    Profile& player = Settings::getInstance().getCurrentUser();
    if (player.currentPicture.picture.empty()) {
        // A player who has not been through the intro yet plays the demo picture: it becomes the
        // current picture, so that its records and the curator's avatar are found under its name.
        player.currentPicture = PictureKey{kDemoCountry, kDemoPicture};
    }
    const Profile profile = player;
    {
        NodeFromJson description("ui/Game");
        _hudRoot = description.createNode("UI");

        _levelPath = profile.currentPicture.country + "/" + profile.currentPicture.picture;

        Node* area = description.createNode("background");
        if (area == nullptr) {
            area = Node::create();
        }
        _board = GameBoard::create();
        if (_board == nullptr) {
            return false;
        }
        _board->setup(area, _levelPath);
        if (_board->getNodeLevel() != nullptr) {
            addPictureBorder(description, _board->getNodeLevel());
        }
    }

    addChild(_board);
    if (FlyNode* fly = FlyNode::create()) {
        addChild(fly);
    }
    if (_hudRoot != nullptr) {
        addChild(_hudRoot);
    }

    for (const char* effect : kPreloadedEffects) {
        GameSound::getInstance().preloadEffect(effect);
    }

    setupHud();
    bindCallbacks();
    startLevel();
    startIntroAnimation();

    if (DebugKeySequence::getInstance().isDebugMode()) {
        cocos2d::Label* name = cocos2d::Label::createWithTTF(profile.currentPicture.picture,
                                                             Settings::getInstance().getFontPath("Arial"), 30);
        if (name != nullptr) {
            name->setTextColor(cocos2d::Color4B::WHITE);
            name->enableOutline(cocos2d::Color4B::BLACK, 1);
            name->setPosition(Vec2(0.0f, -390.0f));
            addChild(name);
        }
    }

    auto* keyboard = cocos2d::EventListenerKeyboard::create();
    keyboard->onKeyReleased = [this](cocos2d::EventKeyboard::KeyCode code, cocos2d::Event* event) {
        onKeyReleased(code, event);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(keyboard, this);
    return true;
}

// --- HUD -------------------------------------------------------------------------------------------

Node* GameScreen::hudPanel(int tag) const {
    return _hudRoot != nullptr ? _hudRoot->getChildByTag(tag) : nullptr;
}

Node* GameScreen::hudButton(int panelTag, const std::string& name) const {
    Node* panel = hudPanel(panelTag);
    return panel != nullptr ? panel->getChildByName(name) : nullptr;
}

void GameScreen::setButtonEnabled(int panelTag, const std::string& name, bool enabled) {
    if (auto* button = dynamic_cast<cocos2d::ui::Widget*>(hudButton(panelTag, name))) {
        button->setEnabled(enabled);
    }
}

Node* GameScreen::starsHolder() const {
    Node* score = hudPanel(1);
    return score != nullptr ? score->getChildByTag(1) : nullptr;
}

cocos2d::ProgressTimer* GameScreen::getHudStar(int slot) const {
    Node* holder = starsHolder();
    Node* slotNode = holder != nullptr ? holder->getChildByTag(slot) : nullptr;
    return slotNode != nullptr ? dynamic_cast<cocos2d::ProgressTimer*>(slotNode->getChildByTag(1)) : nullptr;
}

Node* GameScreen::getScoreLabel() const {
    Node* holder = starsHolder();
    return holder != nullptr ? holder->getChildByName("label") : nullptr;
}

void GameScreen::setupHud() {
    if (_hudRoot != nullptr) {
        _flask = dynamic_cast<FlaskLiquid*>(_hudRoot->getChildByName("dropsProgres"));
        _toolBar = dynamic_cast<RestoreToolSelector*>(_hudRoot->getChildByName("RestoreTools"));
    }
    if (_toolBar != nullptr) {
        if (Node* finish = hudPanel(3)) {
            const Vec2 world = _hudRoot->convertToWorldSpace(finish->getPosition());
            _toolBar->setHome(_toolBar->convertToNodeSpace(world));
        }
    }
    for (int slot = 1; slot <= 3; ++slot) {
        if (cocos2d::ProgressTimer* star = getHudStar(slot)) {
            star->setBarChangeRate(Vec2(0.0f, 1.0f));
            star->setPercentage(0.0f);
        }
    }
    enumerateChildren("//Star", [](Node* star) {
        star->setScale(0.5f);
        star->setUserData(nullptr);
        return false;
    });
    updateStars(false, Vec2::ZERO);

    if (storyLevel() < 0) {
        Node* score = hudPanel(1);
        Node* place = score != nullptr ? score->getChildByName("avatarPlace") : nullptr;
        if (place != nullptr) {
            const std::string name =
                "avatar_" + Settings::getInstance().getCurrentUser().currentPicture.country + "_small";
            NodeFromJson chat("ui/Chat");
            Node* avatar = chat.createNode(name);
            if (avatar != nullptr) {
                avatar->setPosition(place->getPosition() +
                                    Vec2(0.0f, avatar->getAnchorPointInPoints().y -
                                                   place->getAnchorPointInPoints().y));
                score->addChild(avatar);
            } else {
                cocos2d::log("courator image not found: '%s'", name.c_str());
            }
        }
    }
}

void GameScreen::bindCallbacks() {
    _board->setOnItemHit([this](HiddenObject* item, Vec2 p) { onItemHit(item, p); });
    _board->setOnItemErased([this](HiddenObject* item, Vec2 p) { onItemErased(item, p); });
    _board->setOnDamageFixed([this](EraseableGameObject* damage, Vec2 p) { onDamageFixed(damage, p); });
    _board->setOnMiss([this](Vec2 p, ToolState tool) { onMiss(p, tool); });
    _board->setOnHintShown([this](Vec2 p) { onHintShown(p); });
    _board->setOnIdle([this] { onIdle(); });

    if (auto* fly = dynamic_cast<FlyNode*>(getChildByName("flyNode"))) {
        fly->setOnSwat([this](const Vec2& p) { onFlySwatted(p); });
    }

    auto listen = [this](int panel, const std::string& name, void (GameScreen::*handler)()) {
        if (auto* button = dynamic_cast<cocos2d::ui::Widget*>(hudButton(panel, name))) {
            button->addClickEventListener([this, handler](cocos2d::Ref*) { (this->*handler)(); });
        }
    };
    listen(4, "Options", &GameScreen::onOptionsButton);
    listen(3, "paletteBtn", &GameScreen::onFinishButton);
    listen(2, "HintBtn", &GameScreen::onHintButton);
    listen(2, "minigamesBtn", &GameScreen::onMinigamesButton);
    if (auto* counter = dynamic_cast<cocos2d::Label*>(hudButton(2, "hint_label"))) {
        counter->enableShadow(cocos2d::Color4B(3, 65, 55, 255), cocos2d::Size(1.0f, -1.0f), 1);
    }

    if (_toolBar != nullptr) {
        _toolBar->setOnSelect([this](int tool) { onToolSelected(tool); });
        RestoreToolSelector* bar = _toolBar;
        _board->setOnToolChange([bar](int tool, bool) { bar->selectTool(tool); });
    }
    updateHintButtons(false);
    scheduleUpdate();
}

GameScreen::FlaskNumbers GameScreen::flaskNumbers(int32_t level, int32_t totalItems, int32_t itemsOnLevel,
                                                  int32_t damageCount) {
    FlaskNumbers numbers;
    numbers.scale = level < 4 ? 3.0f : 1.0f;
    numbers.maxDrops = static_cast<int32_t>(static_cast<float>(totalItems) * numbers.scale) + 2;
    numbers.startDrops = std::min(
        static_cast<int32_t>(static_cast<float>(itemsOnLevel) * numbers.scale) + damageCount + 2,
        numbers.maxDrops);
    numbers.seconds = static_cast<float>(totalItems) * 6.0f * numbers.scale;
    return numbers;
}

void GameScreen::startLevel() {
    Profile& profile = Settings::getInstance().getCurrentUser();
    const int32_t level = profile.storyLevel;
    _board->setHintsLeft(kStartHints);
    updateHintCounter();

    profile.minigameAvailability.clear();
    for (int32_t kind = 0; kind < kMinigameKindCount; ++kind) {
        profile.minigameAvailability[kind] = true;
    }

    // The early levels guide the player; from story level 4 on, once the needle's tutorial is behind
    // the player, none do.
    const bool guided = !(level >= 4 && Settings::getInstance().isTutorialShown(9));
    if (guided) {
        _tutorials = GameTutorialsLayer::create();
        if (_tutorials != nullptr) {
            _tutorials->setup(_hudRoot, _board, _toolBar);
            addChild(_tutorials);
        }
    }
    if (_tutorials != nullptr) {
        if (level < 0) {
            setupIntroLevel();
        } else if (level == 0) {
            hideFlyNode(false);
            for (const char* theme : {"Music/theme_2", "Music/theme_3", "Music/theme_4", "Music/theme_5"}) {
                GameSound::getInstance().addToPlaylist(theme);
            }
        } else if (level == 1) {
            if (auto* fly = dynamic_cast<FlyNode*>(getChildByName("flyNode"))) {
                GameTutorialsLayer* tutorials = _tutorials;
                fly->flyToCenter([tutorials] { tutorials->onFlyArrived(); });
            }
        }
    }

    NodeLevel* nodeLevel = _board->getNodeLevel();
    const int32_t damage = nodeLevel != nullptr ? static_cast<int32_t>(nodeLevel->getDamageList().size()) : 0;
    const FlaskNumbers numbers =
        flaskNumbers(level, _board->getTotalItems(), _board->getItemsOnLevel(), damage);
    cocos2d::log("drops %d / %d, items %d / %d, time %2.2f, timeScale %2.2f", numbers.startDrops,
                 numbers.maxDrops, _board->getItemsOnLevel(), _board->getTotalItems(),
                 static_cast<double>(numbers.seconds), static_cast<double>(numbers.scale));
    if (_flask != nullptr) {
        _flask->setup(numbers.startDrops, numbers.maxDrops, numbers.seconds);
        _flask->setOnEmpty([this] { onFlaskEmpty(); });
    }
}

void GameScreen::setupIntroLevel() {
    releaseUiTextures("ui/Intro");
    releaseUiTextures("ui/Loading");
    Settings::getInstance().getCurrentUser().shownTutorials.clear();
    hideFlyNode(false);
    if (_flask != nullptr) {
        _flask->removeFromParent();
        _flask = nullptr;
    }
    if (Node* score = hudPanel(1)) {
        score->removeChildByName("levelProgress");
    }
    // A negative count never reaches 0: the intro's hints are not limited, and the counter hides.
    _board->setHintsLeft(-1);
    updateHintCounter();
    GameTutorialsLayer* tutorials = _tutorials;
    tutorials->runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(1.0f), cocos2d::CallFunc::create([tutorials] { tutorials->startIntroLevel(); }),
        nullptr));
}

void GameScreen::startIntroAnimation() {
    lockHud(true, true);
    _board->setInputPaused(_board, true);
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.6f), cocos2d::CallFunc::create([this] {
                                            // A level ended already keeps its tools away and its
                                            // flask drained.
                                            if (_finished) {
                                                return;
                                            }
                                            if (_flask != nullptr) {
                                                _flask->start();
                                            }
                                            if (_toolBar != nullptr) {
                                                _toolBar->showTools();
                                            }
                                        }),
                                        cocos2d::DelayTime::create(0.8f),
                                        cocos2d::CallFunc::create([this] { enableInput(); }), nullptr));
    slideInPanel(1, Vec2(-kPanelSlide, kPanelSlide));
    slideInPanel(2, Vec2(kPanelSlide, kPanelSlide));
    slideInPanel(3, Vec2(kPanelSlide, -kPanelSlide));
    slideInPanel(4, Vec2(-kPanelSlide, -kPanelSlide));
    slideInPanel(5, Vec2(-kPanelSlide, 0.0f));
}

void GameScreen::slideInPanel(int tag, const Vec2& offset) {
    Node* panel = hudPanel(tag);
    if (panel == nullptr) {
        return;
    }
    const Vec2 home = panel->getPosition();
    panel->setPosition(home + offset);
    panel->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.3f),
                                               cocos2d::MoveTo::create(0.5f, home), nullptr));
}

void GameScreen::enableInput() {
    // A level ended during the opening (the debug solve) stays locked.
    if (_finished) {
        return;
    }
    lockHud(false, true);
    _board->setInputPaused(_board, false);
    if (storyLevel() < 0) {
        setButtonEnabled(3, "paletteBtn", false);
        setButtonEnabled(2, "HintBtn", false);
    }
}

void GameScreen::lockHud(bool lock, bool setPaused) {
    if (setPaused) {
        _paused = lock;
    }
    setButtonEnabled(4, "Options", !lock);
    setButtonEnabled(3, "paletteBtn", !lock);
    setButtonEnabled(2, "HintBtn", !lock);
    if (_toolBar != nullptr) {
        _toolBar->setLocked(lock);
    }
}

void GameScreen::updateHintCounter() {
    const int32_t hints = _board->getHintsLeft();
    if (auto* counter = dynamic_cast<cocos2d::Label*>(hudButton(2, "hint_label"))) {
        counter->setString(std::to_string(hints));
        cocos2d::log("counter posx = %f", static_cast<double>(counter->getPositionX()));
        if (hints < 0) {
            counter->setVisible(false);
        }
    }
    MinigameAvailability& available = Settings::getInstance().getCurrentUser().minigameAvailability;
    bool someMinigame = false;
    for (int32_t kind = 0; kind < kMinigameKindCount; ++kind) {
        someMinigame = available[kind] || someMinigame;
    }
    updateHintButtons(hints == 0 && someMinigame);
}

void GameScreen::updateHintButtons(bool showMinigames) {
    if (auto* hint = dynamic_cast<cocos2d::ui::Widget*>(hudButton(2, "HintBtn"))) {
        hint->setEnabled(!showMinigames);
        hint->setVisible(!showMinigames);
    }
    if (auto* minigames = dynamic_cast<cocos2d::ui::Widget*>(hudButton(2, "minigamesBtn"))) {
        minigames->setEnabled(showMinigames);
        minigames->setVisible(showMinigames);
    }
}

void GameScreen::releaseUiTextures(const std::string& folder) {
    for (const std::string& image : NodeFromJson::collectTextures(folder)) {
        if (image.find("_atlas.") != std::string::npos && image.size() >= 3) {
            cocos2d::SpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
                image.substr(0, image.size() - 3) + "xml");
        }
        cocos2d::Director::getInstance()->getTextureCache()->removeTextureForKey(image);
    }
}

// --- time and keys ---------------------------------------------------------------------------------

void GameScreen::update(float dt) {
    if (_paused) {
        return;
    }
    _elapsedTime += dt;
    _board->update(dt);
    if (_flask != nullptr) {
        _flask->update(dt);
    }
}

void GameScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) {
    if (!DebugKeySequence::getInstance().isDebugMode()) {
        return;
    }
    Layer::onKeyReleased(keyCode, event);
    if (keyCode == cocos2d::EventKeyboard::KeyCode::KEY_END) {
        _board->solveAll();
        updateStars(false, Vec2::ZERO);
        finishLevel(kWinSound);
        getEventDispatcher()->pauseEventListenersForTarget(this);
    } else if (keyCode == cocos2d::EventKeyboard::KeyCode::KEY_A) {
        if (_flask != nullptr) {
            _flask->useDrop();
        }
        _board->eraseHintTarget();
        getEventDispatcher()->pauseEventListenersForTarget(this);
        scheduleOnce([this](float) { getEventDispatcher()->resumeEventListenersForTarget(this); }, 0.1f,
                     "debugKeysBack");
    }
}

// --- board events ----------------------------------------------------------------------------------

void GameScreen::nudge(int defectKind, float interval) {
    if (_toolBar != nullptr) {
        _toolBar->highlightTool(defectKind, interval);
    }
}

void GameScreen::nudgeFirstDamage(int32_t level) {
    NodeLevel* nodeLevel = _board->getNodeLevel();
    if (nodeLevel == nullptr || nodeLevel->getDamageList().empty()) {
        return;
    }
    nudge(static_cast<int>(nodeLevel->getDamageList().front()->getKind()), nudgeInterval(level, 3));
}

void GameScreen::winTest() {
    if (!_board->hasDamage() && _board->getItemsRestored() >= _board->getItemsOnLevel()) {
        finishLevel(kWinSound);
    } else if (_flask != nullptr && _flask->isEmpty()) {
        finishLevel(kLossSound);
    }
}

void GameScreen::onItemHit(HiddenObject* item, Vec2 position) {
    const int32_t level = storyLevel();
    if (item != nullptr) {
        nudge(static_cast<int>(item->getKind()), nudgeInterval(level, 13));
    }
    if (_flask != nullptr) {
        _flask->useDrop();
    }
    if (_tutorials != nullptr) {
        _tutorials->onItemHit(item, position);
    }
    settleHintPanel();
}

void GameScreen::onItemErased(HiddenObject* item, Vec2 position) {
    const int32_t level = storyLevel();
    GameSound::getInstance().playEffect("item_colect_particles", false);
    updateStars(true, position);
    if (_flask != nullptr) {
        _flask->addDrops(1.0f);
    }
    if (level >= 0) {
        winTest();
        if (_board->hasDamage()) {
            nudgeFirstDamage(level);
        }
    }
    if (_tutorials != nullptr) {
        _tutorials->onItemErased(item, position);
    }
}

void GameScreen::onDamageFixed(EraseableGameObject* damage, Vec2 position) {
    const int32_t level = storyLevel();
    updateStars(true, Vec2::ZERO);
    if (level >= 0) {
        winTest();
        if (_board->hasDamage() && !_board->hasCurrentItem()) {
            nudgeFirstDamage(level);
        }
    }
    if (_tutorials != nullptr) {
        _tutorials->onDamageFixed(damage, position);
    }
    if (_flask != nullptr) {
        _flask->addDrops(0.5f);
    }
}

void GameScreen::onMiss(Vec2 position, ToolState tool) {
    const int32_t level = storyLevel();
    if (level >= 0) {
        missDrains(tool, level);
    }
    if (_tutorials != nullptr) {
        _tutorials->onMiss(position, tool);
    }
}

void GameScreen::missDrains(ToolState tool, int32_t level) {
    if (_flask != nullptr) {
        _flask->useDrop();
        if (_flask->isEmpty()) {
            finishLevel(kLossSound);
        }
    }
    if (_board->hasDamage() && !_board->hasCurrentItem()) {
        updateStars(true, Vec2::ZERO);
        const int kind = leftDefect(tool);
        if (kind >= 0) {
            nudge(kind, nudgeInterval(level, 3));
        }
    }
}

void GameScreen::onHintShown(Vec2 position) {
    updateHintCounter();
    GameSound::getInstance().playEffect("hint", false);
    if (_tutorials != nullptr) {
        _tutorials->onHintShown(position);
    }
    settleHintPanel();
}

void GameScreen::settleHintPanel() {
    Node* hint = hudPanel(2);
    // A pulse stopped half way would leave the panel flushed red.
    if (hint != nullptr && hint->getActionByTag(GameTutorialsLayer::kPulseTag) == nullptr) {
        hint->setColor(cocos2d::Color3B::WHITE);
    }
}

void GameScreen::onIdle() {
    if (storyLevel() < 0 || _board->getItemsRestored() < _board->getItemsOnLevel() / 2) {
        return;
    }
    cocos2d::log("Do nothing");
    Node* finish = hudPanel(3);
    if (finish == nullptr) {
        return;
    }
    auto* tint = cocos2d::Sequence::create(
        cocos2d::TintTo::create(0.25f, 250, 100, 100), cocos2d::DelayTime::create(0.0625f),
        cocos2d::TintTo::create(0.25f, 255, 255, 255), cocos2d::DelayTime::create(0.0625f), nullptr);
    auto* scale = cocos2d::Sequence::create(
        cocos2d::ScaleTo::create(0.25f, 1.05f), cocos2d::DelayTime::create(0.0625f),
        cocos2d::ScaleTo::create(0.25f, 1.0f), cocos2d::DelayTime::create(0.0625f), nullptr);
    finish->runAction(cocos2d::Repeat::create(cocos2d::Spawn::create(tint, scale, nullptr), 2));
}

void GameScreen::onFlySwatted(const Vec2&) {
    _board->addKilledFly();
    updateStars(true, Vec2::ZERO);
    if (_tutorials != nullptr) {
        _tutorials->onFlySwatted();
    }
}

void GameScreen::onFlaskEmpty() {
    finishLevel(kLossSound);
}

void GameScreen::onToolSelected(int tool) {
    _board->selectTool(tool);
    if (_tutorials != nullptr) {
        _tutorials->onToolSelected(tool);
    }
}

// --- buttons ---------------------------------------------------------------------------------------

void GameScreen::onHintButton() {
    if (_board->getHintsLeft() != 0) {
        _board->useHint();
    }
}

void GameScreen::onFinishButton() {
    finishLevel(kWinSound);
}

void GameScreen::onMinigamesButton() {
    // Between the level's end and its result nothing may open over the finished level.
    if (_finished) {
        return;
    }
    MinigamesSelectionScreen* selection = MinigamesSelectionScreen::create();
    if (selection == nullptr) {
        cocos2d::log("level: the minigame selection could not be made");
        return;
    }
    _paused = true;
    selection->setCallback([this](bool won) { onMinigameResult(won); });
    openPopupLayer(false)->addChild(selection);
}

void GameScreen::onMinigameResult(bool won) {
    // A finished level stays held.
    _paused = _finished;
    if (won) {
        _board->setHintsLeft(_board->getHintsLeft() + 1);
        updateHintCounter();
    }
}

void GameScreen::onOptionsButton() {
    NodeFromJson description("ui/OptionsScreen");
    auto* options = dynamic_cast<OptionsScreen*>(description.createNode("UI"));
    Settings::getInstance().setReturnScreen("game");
    if (options == nullptr) {
        cocos2d::log("level options: no OptionsScreen in ui/OptionsScreen");
        return;
    }
    openPopupLayer(false)->addChild(options);
    if (storyLevel() >= 0) {
        options->setExitCallback([this](cocos2d::Ref*) { onExitLevelButton(); });
    }
    options->setInGameLayout();
    GameSound::getInstance().playEffect("btnDown", false);
}

void GameScreen::onExitLevelButton() {
    GameSound::getInstance().playEffect("confirm", false);
    if (TopLayer* top = dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer())) {
        top->showConfirmation("exit_level_confirm", [this] { returnToGallery(); });
    }
}

// --- reward and stars ------------------------------------------------------------------------------

int32_t GameScreen::computeReward() {
    Profile& profile = Settings::getInstance().getCurrentUser();
    PictureProgress& record = _board->pictureRecord();
    record.dropsUsed = _flask != nullptr ? _flask->getDropsUsed() : 0;
    record.time = _elapsedTime;
    record.restoredCount = _board->getItemsRestored();
    record.mistakes = _board->getMistakes();
    record.flies = _board->getFliesKilled();
    if (record.finished) {
        return 0;
    }

    cocos2d::log("bonus reward for killed flies: %d", _board->getFlyBonus());
    LevelReward::Play play;
    play.runningReward = _board->getReward();
    play.earnedRounded = _board->getEarnedRounded();
    play.earnedPenalty = _board->getDamagePenalty(play.earnedRounded);
    play.hasDamage = _board->hasDamage();
    play.fullPrice = _board->getFullPicturePrice();
    play.hasFlask = _flask != nullptr;
    play.flaskPercent = _flask != nullptr ? _flask->getPercent() : 0.0f;
    const LevelReward::Settlement settled = LevelReward::settle(record, play);
    if (settled.paid) {
        if (settled.liquidBonus > 0) {
            cocos2d::log("bonus reward for unused liquid: %d", settled.liquidBonus);
        }
        profile.money += settled.gain;
        cocos2d::log("total reward: %d", settled.reward);
    }

    const std::string& picture = profile.currentPicture.picture;
    if (!isLastOpenPicture(picture) && settled.reward > 0) {
        unlockNextPicture(picture);
    }

    updateStars(true, Vec2::ZERO);
    const int32_t stars = countLitStars();
    cocos2d::log("%d stars saved to statistics", stars);
    LevelReward::recordStars(record, profile.storyLevel, stars);
    LevelReward::recordEnd(record, _board->hasDamage(), _board->getItemsRestored(), _board->getItemsOnLevel(),
                           _board->getTotalItems());
    return settled.reward;
}

void GameScreen::updateStars(bool animate, Vec2 worldPos) {
    Node* holder = starsHolder();
    if (holder == nullptr) {
        return;
    }
    const int32_t reward = _board->getReward();
    const float percent = LevelReward::rewardPercent(reward, _board->getFullPicturePrice());

    if (auto* label = dynamic_cast<cocos2d::Label*>(holder->getChildByName("label"))) {
        if (animate) {
            if (!worldPos.equals(Vec2::ZERO)) {
                Node* score = hudPanel(1);
                const Vec2 to = score != nullptr
                                    ? convertToNodeSpace(score->getParent()->convertToWorldSpace(score->getPosition()))
                                    : Vec2::ZERO;
                flyCoinsToScore(convertToNodeSpace(worldPos), to);
            }
            label->runAction(ScrollingNumberAction::create(userNumber(label), reward, 0.3f, "$"));
        } else {
            label->setString(cocos2d::StringUtils::format("$%d", reward));
        }
        setUserNumber(label, reward);
    }

    for (int i = 1; i <= 3; ++i) {
        cocos2d::ProgressTimer* star = getHudStar(i);
        if (star == nullptr) {
            continue;
        }
        if (LevelReward::isStarLit(i, percent, _board->hasDamage())) {
            if (userNumber(star) == 0) {
                if (animate) {
                    playStarEffect(star, 0.3f);
                    GameSound::getInstance().playEffect(cocos2d::StringUtils::format("star%d", i < 3 ? i : 2),
                                                        false);
                } else {
                    star->setPercentage(100.0f);
                }
            }
            setUserNumber(star, 1);
            continue;
        }
        // A star that is not lit never shows full, also when the reward fell back past it.
        const float fill = LevelReward::partialFill(i, percent);
        // Its own lighting may still be rising.
        star->stopAllActions();
        if (animate) {
            star->runAction(cocos2d::ProgressTo::create(0.7f, fill));
        } else {
            star->setPercentage(fill);
        }
        setUserNumber(star, 0);
    }
}

int32_t GameScreen::countLitStars() const {
    int32_t lit = 0;
    for (int i = 1; i <= 3; ++i) {
        const cocos2d::ProgressTimer* star = getHudStar(i);
        lit += star != nullptr && userNumber(star) == 1 ? 1 : 0;
    }
    return lit;
}

void GameScreen::playStarEffect(Node* star, float seconds) {
    if (star == nullptr) {
        return;
    }
    if (cocos2d::ParticleSystemQuad* particles = burst("particles/stars_in_stats.plist")) {
        particles->setEmitterMode(cocos2d::ParticleSystem::Mode::RADIUS);
        particles->setDuration(1.5f * seconds);
        particles->setStartRadius(0.0f);
        particles->setEndRadius(93.0f);
        particles->setScale(0.5f);
        particles->setPosition(Vec2(star->getContentSize().width, star->getContentSize().height) * 0.5f);
        particles->setOpacity(0);
        particles->runAction(cocos2d::FadeIn::create(seconds / 2.0f));
        star->addChild(particles, 0);
    }
    star->stopAllActions();
    star->runAction(cocos2d::ProgressTo::create(1.0f, 100.0f));
}

void GameScreen::flyCoinsToScore(Vec2 from, Vec2 to) {
    cocos2d::ParticleSystemQuad* particles = burst("particles/item_collected.plist");
    if (particles == nullptr) {
        return;
    }
    particles->setPosition(from);
    addChild(particles);
    cocos2d::ccBezierConfig path;
    path.endPosition = to;
    path.controlPoint_1 = from + Vec2(100.0f, 100.0f);
    path.controlPoint_2 = to + Vec2(150.0f, 10.0f);
    particles->runAction(cocos2d::Sequence::create(cocos2d::FadeIn::create(2.0f / 15.0f),
                                                   cocos2d::BezierTo::create(0.4f, path), nullptr));
}

// --- the level's end -------------------------------------------------------------------------------

void GameScreen::finishLevel(const std::string& endSound) {
    if (_finished) {
        return;
    }
    _finished = true;
    if (!endSound.empty()) {
        GameSound::getInstance().playEffect(endSound, false);
    }
    if (_toolBar != nullptr) {
        _toolBar->hideTools();
    }
    if (_flask != nullptr) {
        _flask->playEmptyAnimation();
    }
    _board->endPlay();
    _board->saveRestoredItems();
    lockHud(true, true);
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kResultDelay),
                                        cocos2d::CallFunc::create([this] { showLevelResult(); }), nullptr));
    hideFlyNode(true);
    if (_tutorials != nullptr) {
        _tutorials->onLevelFinished();
    }
}

void GameScreen::showLevelResult() {
    if (storyLevel() < 0) {
        finishIntroLevel();
        return;
    }
    const std::string picture = Settings::getInstance().getCurrentUser().currentPicture.picture;
    NodeFromJson description("ui/LevelStatistic");
    const int32_t reward = computeReward();
    auto* popup = dynamic_cast<LevelStatistic*>(description.createNode("LevelStatistic"));
    if (popup == nullptr) {
        // Without its result panel the level could never be left: the reward is kept and saved.
        cocos2d::log("level result: no LevelStatistic in ui/LevelStatistic");
        returnToGallery();
        return;
    }
    popup->setGlobalZOrder(2.0f);
    popup->show(picture, reward);
    popup->setOpacity(0);

    PopupScreenBase* container = openPopupLayer(true);
    container->addChild(popup);
    if (auto* ok = dynamic_cast<cocos2d::ui::Widget*>(popup->getChildByName("ok_btn"))) {
        ok->addClickEventListener([this](cocos2d::Ref*) { returnToGallery(); });
    }

    for (int i = 3; i >= 1; --i) {
        cocos2d::ProgressTimer* star = getHudStar(i);
        if (star == nullptr || userNumber(star) != 1) {
            continue;
        }
        cocos2d::RefPtr<Node> keep(star);
        const Vec2 world = star->getParent()->convertToWorldSpace(star->getPosition());
        star->removeFromParentAndCleanup(false);
        star->setPosition(popup->convertToNodeSpace(world));
        star->setTag(i);
        popup->addChild(star);
        cocos2d::log(" star %d moved to statistics", i);
    }
    if (Node* label = getScoreLabel()) {
        label->runAction(cocos2d::FadeOut::create(0.5f));
    }
    popup->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.31f), cocos2d::FadeIn::create(0.3f),
                                               cocos2d::CallFunc::create([popup] { popup->moveStars(); }),
                                               nullptr));
    hideFlyNode(true);
}

void GameScreen::releaseLevelTexture() {
    NodeLevel* nodeLevel = _board->getNodeLevel();
    if (nodeLevel == nullptr || nodeLevel->getChildren().empty()) {
        return;
    }
    if (auto* sprite = dynamic_cast<cocos2d::Sprite*>(nodeLevel->getChildren().back())) {
        cocos2d::Director::getInstance()->getTextureCache()->removeTexture(sprite->getTexture());
    }
}

namespace {

// The level is left for a screen of its own scene, faded in over 1.0 s.
void fadeToScreen(cocos2d::Layer* next) {
    if (next == nullptr) {
        return;
    }
    cocos2d::Scene* scene = cocos2d::Scene::create();
    scene->addChild(next);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
}

}  // namespace

void GameScreen::returnToGallery() {
    // The result's OK and the exit confirmation may both be answered: the save and the way out once.
    if (_left) {
        return;
    }
    _left = true;
    GameSound::getInstance().nextTrack();
    UserDataIO::saveUserData();
    Settings::getInstance().applyUserCursor();
    releaseLevelTexture();
    fadeToScreen(GalleryScreen::create());
}

void GameScreen::finishIntroLevel() {
    if (_left) {
        return;
    }
    _left = true;
    unlockCountry("USA");
    Settings::getInstance().getCurrentUser().currentPicture.country = "USA";
    UserDataIO::saveUserData();
    Settings::getInstance().applyUserCursor();
    releaseLevelTexture();
    fadeToScreen(MapScreen::create());
}

PopupScreenBase* GameScreen::openPopupLayer(bool fadeIn) {
    PopupScreenBase* container = PopupScreenBase::create();
    container->setOnClose([this] { onPopupClosed(); });
    addChild(container, 1);
    if (_toolBar != nullptr) {
        _toolBar->selectTool(0);
    }
    Settings::getInstance().setCustomCursorEnabled(Settings::getInstance().getCurrentUser().customCursor);
    if (fadeIn) {
        container->setCascadeOpacityEnabled(true);
        container->setOpacity(0);
        container->runAction(cocos2d::FadeIn::create(0.3f));
    }
    _paused = true;
    return container;
}

void GameScreen::onPopupClosed() {
    if (_toolBar != nullptr) {
        _toolBar->updateCursor();
    }
    _paused = false;
}

void GameScreen::hideFlyNode(bool fade) {
    Node* fly = getChildByName("flyNode");
    if (fly == nullptr) {
        return;
    }
    _board->setInputPaused(fly, true);
    if (fade) {
        fly->setCascadeOpacityEnabled(true);
        fly->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.7f), cocos2d::FadeOut::create(0.5f),
                                                 nullptr));
    } else {
        fly->setVisible(false);
    }
}

// --- the picture's border --------------------------------------------------------------------------

void addPictureBorder(NodeFromJson& description, Node* target) {
    if (target == nullptr) {
        return;
    }
    const float width = static_cast<float>(static_cast<int>(target->getContentSize().width) - 1);
    const float height = static_cast<float>(static_cast<int>(target->getContentSize().height) - 1);

    struct Piece {
        Vec2 anchor;
        float rotation;
        bool vertical;
        Vec2 position;
    };
    const Piece sides[] = {
        {Vec2(0.0f, 0.0f), -90.0f, true, Vec2(1.0f, 1.0f)},
        {Vec2(1.0f, 0.0f), 90.0f, true, Vec2(width, 1.0f)},
        {Vec2(0.0f, 0.0f), 0.0f, false, Vec2(1.0f, height)},
        {Vec2(1.0f, 0.0f), 180.0f, false, Vec2(1.0f, 1.0f)},
    };
    float length = 0.0f;
    for (const Piece& piece : sides) {
        Node* side = description.createNode("border_side");
        if (side == nullptr) {
            cocos2d::log("picture border: no border_side");
            return;
        }
        if (length <= 0.0f) {
            length = side->getContentSize().width;
        }
        side->setAnchorPoint(piece.anchor);
        side->setRotation(piece.rotation);
        if (length > 0.0f) {
            side->setScaleX((piece.vertical ? height : width) / length);
        }
        side->setPosition(piece.position);
        target->addChild(side);
    }
    const Piece corners[] = {
        {Vec2(1.0f, 0.0f), -90.0f, false, Vec2(1.0f, 1.0f)},
        {Vec2(1.0f, 0.0f), 0.0f, false, Vec2(1.0f, height)},
        {Vec2(1.0f, 0.0f), 90.0f, false, Vec2(width, height)},
        {Vec2(1.0f, 0.0f), 180.0f, false, Vec2(width, 1.0f)},
    };
    for (const Piece& piece : corners) {
        Node* corner = description.createNode("border_corner");
        if (corner == nullptr) {
            cocos2d::log("picture border: no border_corner");
            return;
        }
        corner->setAnchorPoint(piece.anchor);
        corner->setRotation(piece.rotation);
        corner->setPosition(piece.position);
        target->addChild(corner);
    }
}
