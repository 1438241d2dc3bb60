#include "gameBoard/GameBoard.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "PictureProgress.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "Shuffle.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/FadeTo.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/scene/Sprite.h"
#include "gameBoard/BoardAssert.h"
#include "gameBoard/BoardPricing.h"
#include "GameSound.h"
#include "gameBoard/CBrushToolState.h"
#include "gameBoard/CEraserToolState.h"
#include "gameBoard/CKnifeToolState.h"
#include "gameBoard/CNeedleToolState.h"
#include "gameBoard/CSrayToolState.h"
#include "gameBoard/CWaitState.h"
#include "gameBoard/DamageFactory.h"
#include "gameBoard/HiddenObject.h"
#include "gameBoard/StoryLevel.h"
#include "gameBoard/StrokeSpan.h"
#include "nodes/LevelNode.h"
#include "ui/Controls/CPanZoomComponent.h"
#include "ui/ShaderSprites.h"

using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Touch;
using cocos2d::Vec2;

namespace {

constexpr float kEraseSettle = 0.4f;
constexpr float kDamageRecordDelay = 0.01f;
constexpr float kDamageFade = 0.3f;
constexpr float kHintFade = 0.2f;
constexpr float kHintInputMargin = 0.2f;
const cocos2d::Color3B kBlotColor{85, 186, 230};
constexpr int kMaxStateId = 10;

}  // namespace

GameBoard* GameBoard::create() {
    auto* board = new (std::nothrow) GameBoard();
    if (board != nullptr && board->init()) {
        board->autorelease();
        return board;
    }
    delete board;
    return nullptr;
}

bool GameBoard::init() {
    return Layer::init();
}

GameBoard::~GameBoard() {
    cocos2d::log("=== %s ===\n", "GameBoard::~GameBoard");
    if (_nodeLevel) {
        _nodeLevel->cleanup();
    }
    if (_state != nullptr) {
        _state->stopSound(true);
        _state->release();
        _state = nullptr;
    }
    _nodeLevel = nullptr;
    _panZoom = nullptr;
}

// --- set-up ---------------------------------------------------------------------------------------

void GameBoard::setup(Node* area, const std::string& picturePath) {
    if (area == nullptr) {
        cocos2d::log("GameBoard::setup: no picture area");
        return;
    }
    _area = area;
    _picturePath = picturePath;
    const std::string folder = "Scenes/" + picturePath;
    setContentSize(area->getContentSize());

    _nodeLevel = NodeLevel::create();
    if (_nodeLevel) {
        _nodeLevel->initWithLevel(area, folder, 1, 0);
        _nodeLevel->setPosition(Vec2(area->getContentSize().width, area->getContentSize().height) * 0.5f);
    }
    addChild(area);

    _touchListener = cocos2d::EventListenerTouchAllAtOnce::create();
    _touchListener->onTouchesBegan = [this](const std::vector<Touch*>& t, cocos2d::Event* e) {
        onTouchesBegan(t, e);
    };
    _touchListener->onTouchesMoved = [this](const std::vector<Touch*>& t, cocos2d::Event* e) {
        onTouchesMoved(t, e);
    };
    _touchListener->onTouchesEnded = [this](const std::vector<Touch*>& t, cocos2d::Event* e) {
        onTouchesEnded(t, e);
    };
    _touchListener->onTouchesCancelled = [this](const std::vector<Touch*>& t, cocos2d::Event* e) {
        onTouchesCancelled(t, e);
    };
    cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(
        _touchListener, this);
    createPanZoom();
    restoreSavedDamage();
    restoreProgress();
    setState(CWaitState::create());
    loadFullPrice();
    GameSound::getInstance().preloadEffect("wrong");
    GameSound::getInstance().preloadEffect("drop");
}

void GameBoard::createPanZoom() {
    auto* panZoom = new (std::nothrow) CPanZoomComponent();
    if (panZoom == nullptr) {
        return;
    }
    if (panZoom->init(_area)) {
        panZoom->setMaxScale(1.0f);
        panZoom->setMinScale(1.0f);
        _panZoom = panZoom;
    }
    panZoom->release();
}

PictureProgress& GameBoard::pictureRecord() {
    Profile& profile = Settings::getInstance().getCurrentUser();
    const std::string& key = profile.currentPicture.picture;
    PictureProgress& record = profile.world.pictures[key];
    if (record.path.empty()) {
        record.path = key;
    }
    return record;
}

void GameBoard::restoreSavedDamage() {
    if (!_nodeLevel || !_nodeLevel->isBuilt()) {
        // Nothing to place the records on; they are kept for a level that loads.
        return;
    }
    const Node* background = _nodeLevel->getChildByName("background");
    const Rect picture = background != nullptr ? background->getBoundingBox() : Rect();
    std::vector<DamageRecord>& records = pictureRecord().damage;
    for (auto record = records.begin(); record != records.end();) {
        const int id = nextDamageId();
        const Vec2 position(static_cast<float>(record->x), static_cast<float>(record->y));
        DamageFactory factory = nullptr;
        switch (static_cast<ToolState>(record->toolId)) {
            case ToolState::Eraser:
                factory = createScrape;
                break;
            case ToolState::Brush:
                factory = createBlot;
                break;
            case ToolState::Knife:
                factory = createCut;
                break;
            default:
                break;
        }
        if (factory != nullptr &&
            (record->variant < 1 || record->variant > 3 || !picture.containsPoint(position))) {
            cocos2d::log("Saved damage %d (tool %d, variant %d) at %d %d dropped: not on the picture",
                         record->id, record->toolId, record->variant, record->x, record->y);
            record = records.erase(record);
            continue;
        }
        if (factory != nullptr) {
            factory(this, position, record->variant, id, false);
        }
        record->id = id;
        ++record;
    }
}

void GameBoard::restoreProgress() {
    computePriceRate(false);
    _totalItems = _nodeLevel ? static_cast<int32_t>(_nodeLevel->getItems().size()) : 0;
    applyRestoredHistory();
    const int32_t remaining = _nodeLevel ? static_cast<int32_t>(_nodeLevel->getItems().size()) : 0;
    computeItemsOnLevel();
    if (_nodeLevel && static_cast<int32_t>(_nodeLevel->getItems().size()) > _itemsOnLevel) {
        PictureProgress& record = pictureRecord();
        const std::vector<std::string> names = getShuffledItemNames();
        const size_t surplus = _nodeLevel->getItems().size() - static_cast<size_t>(_itemsOnLevel);
        for (size_t i = 0; i < surplus && i < names.size(); ++i) {
            auto item = _nodeLevel->getItems().find(names[i]);
            if (item != _nodeLevel->getItems().end()) {
                takeOutOfPlay(item->second);
            }
            record.restoredHistory.insert(names[i]);
        }
    }
    if (remaining != _itemsOnLevel) {
        computePriceRate(true);
    }
    const PictureProgress& record = pictureRecord();
    _earned = static_cast<float>(record.earnedPart + record.earnedTotal);
    cocos2d::log("restored prev picture price %2.2f", _earned);
}

void GameBoard::takeOutOfPlay(HiddenObject* item) {
    _nodeLevel->removeItem(item);
    item->removeFromParentAndCleanup(true);
}

void GameBoard::applyRestoredHistory() {
    if (!_nodeLevel) {
        return;
    }
    PictureProgress& record = pictureRecord();
    auto& items = _nodeLevel->getItems();
    if (record.restoredHistory.size() < items.size() || !_nodeLevel->getDamageList().empty()) {
        for (const std::string& name : record.restoredHistory) {
            auto item = items.find(name);
            if (item != items.end()) {
                takeOutOfPlay(item->second);
            }
        }
    } else if (!items.empty()) {
        record.restoredHistory.clear();
        record.finished = true;
        cocos2d::log("AllItemsRestored. Refresh restored items hisory");
    }
}

void GameBoard::computeItemsOnLevel() {
    const int32_t inPlay = _nodeLevel ? static_cast<int32_t>(_nodeLevel->getItems().size()) : 0;
    const BoardPricing::Counts counts =
        BoardPricing::itemsForLevel(currentStoryLevel(), pictureRecord().state, _totalItems, inPlay);
    _itemsOnLevel = counts.itemsOnLevel;
    _totalItems = counts.totalItems;
    cocos2d::log("Items on level = %d, total = %d", _itemsOnLevel, _totalItems);
}

void GameBoard::computePriceRate(bool force) {
    PictureProgress& record = pictureRecord();
    if (record.priceRate == 0 || force) {
        std::vector<int32_t> areas;
        if (_nodeLevel) {
            for (auto& [name, item] : _nodeLevel->getItems()) {
                areas.push_back(item->getArea());
            }
        }
        const BoardPricing::Rate rate = BoardPricing::rateFor(areas);
        record.minArea = rate.minArea;
        record.maxArea = rate.maxArea;
        record.priceRate = rate.priceRate;
        cocos2d::log("itemsPriceRate = %d, calculated from %d items", rate.priceRate,
                     static_cast<int>(areas.size()));
    }
    _priceRate = record.priceRate;
    _minArea = record.minArea;
    _maxArea = record.maxArea;
    cocos2d::log("itemsPriceRate = %d, min =%d, max =%d", _priceRate, _minArea, _maxArea);
}

void GameBoard::loadFullPrice() {
    const Profile& profile = Settings::getInstance().getCurrentUser();
    const PackPicture* picture = findPackPicture(profile.currentPicture);
    if (picture != nullptr) {
        _fullPicturePrice = picture->coins;
        cocos2d::log("full picture price = %d, after %d replays", _fullPicturePrice, pictureRecord().state);
    }
}

void GameBoard::saveDamage(int32_t toolId, int32_t variant, float x, float y, int32_t id) {
    pictureRecord().damage.push_back(
        DamageRecord{id, static_cast<int32_t>(x), static_cast<int32_t>(y), toolId, variant});
}

void GameBoard::saveRestoredItems() {
    PictureProgress& record = pictureRecord();
    for (const std::string& name : _restoredNames) {
        record.restoredHistory.insert(name);
    }
}

int32_t GameBoard::getEarnedRounded() const {
    return BoardPricing::earnedRounded(_earned);
}

int32_t GameBoard::getFlyBonus() const {
    return BoardPricing::flyBonus(_fullPicturePrice, _fliesKilled);
}

int32_t GameBoard::getDamagePenalty(int32_t amount) const {
    return BoardPricing::damagePenalty(amount, _nodeLevel ? _nodeLevel->getDamageList().size() : 0);
}

int32_t GameBoard::getReward() const {
    return BoardPricing::reward(_earned, _fullPicturePrice, _fliesKilled,
                                _nodeLevel ? _nodeLevel->getDamageList().size() : 0);
}

// --- tools ----------------------------------------------------------------------------------------

void GameBoard::selectTool(int toolId) {
    CBaseState* state = nullptr;
    switch (static_cast<ToolState>(toolId)) {
        case ToolState::Sray:
            state = CSrayToolState::create();
            break;
        case ToolState::Eraser:
            state = CEraserToolState::create();
            break;
        case ToolState::Brush:
            state = CBrushToolState::create();
            break;
        case ToolState::Knife:
            state = CKnifeToolState::create();
            break;
        case ToolState::Needle:
            state = CNeedleToolState::create();
            break;
        default:
            state = CWaitState::create();
            break;
    }
    setState(state);
}

void GameBoard::setState(CBaseState* state) {
    if (state == nullptr || !state->attach(this)) {
        return;
    }
    const int id = static_cast<int>(state->getToolId());
    BOARD_ASSERT(id >= 0 && id <= kMaxStateId, "index >= 0 && index < count");
    cocos2d::log("BoardState \t %s", CBaseState::stateName(id));
    state->retain();
    if (_state != nullptr) {
        // The old state may be running the very handler that asked for this change: it goes when the
        // frame's pool drains.
        _state->autorelease();
    }
    _state = state;
}

// --- touches and time -----------------------------------------------------------------------------

void GameBoard::onTouchesBegan(const std::vector<Touch*>& touches, cocos2d::Event* event) {
    hideHintOverlay();
    if (_state != nullptr) {
        cocos2d::RefPtr<CBaseState> state(_state);
        if (_panZoom) {
            _panZoom->onTouchesBegan(touches, event);
        }
        state->onTouchesBegan(touches, event);
    }
    _idleTime = -1.0f;
}

void GameBoard::onTouchesMoved(const std::vector<Touch*>& touches, cocos2d::Event* event) {
    if (_state != nullptr) {
        cocos2d::RefPtr<CBaseState> state(_state);
        if (_panZoom) {
            _panZoom->onTouchesMoved(touches, event);
        }
        state->onTouchesMoved(touches, event);
    }
}

void GameBoard::onTouchesEnded(const std::vector<Touch*>& touches, cocos2d::Event* event) {
    if (_state != nullptr) {
        cocos2d::RefPtr<CBaseState> state(_state);
        if (_panZoom) {
            _panZoom->onTouchesEnded(touches, event);
        }
        state->onTouchesEnded(touches, event);
    }
    _idleTime = 0.0f;
}

void GameBoard::onTouchesCancelled(const std::vector<Touch*>& touches, cocos2d::Event* event) {
    if (_state != nullptr) {
        cocos2d::RefPtr<CBaseState> state(_state);
        if (_panZoom) {
            _panZoom->onTouchesCancelled(touches, event);
        }
        state->onTouchesCancelled(touches, event);
    }
    _idleTime = 0.0f;
}

void GameBoard::update(float dt) {
    if (_idleTime < 0.0f) {
        return;
    }
    _idleTime += dt;
    if (_idleTime >= kIdleSeconds && _onIdle) {
        _onIdle();
        _idleTime = -1.0f;
    }
}

// --- queries --------------------------------------------------------------------------------------

bool GameBoard::isInsidePicture(const Vec2& worldPoint) const {
    if (_area == nullptr || !_nodeLevel) {
        return false;
    }
    return _nodeLevel->getBoundingBox().containsPoint(_area->convertToNodeSpace(worldPoint));
}

bool GameBoard::isMoveOnPicture(const Touch* touch) const {
    if (_area == nullptr || !_nodeLevel) {
        return false;
    }
    StrokeSpan span;
    return spanInBox(_nodeLevel->getBoundingBox(), _area->convertToNodeSpace(touch->getPreviousLocation()),
                     _area->convertToNodeSpace(touch->getLocation()), span);
}

Vec2 GameBoard::clampToPicture(const Vec2& worldPoint) const {
    if (_area == nullptr || !_nodeLevel) {
        return worldPoint;
    }
    const Rect box = _nodeLevel->getBoundingBox();
    Vec2 local = _area->convertToNodeSpace(worldPoint);
    local.x = std::clamp(local.x, box.getMinX(), box.getMaxX());
    local.y = std::clamp(local.y, box.getMinY(), box.getMaxY());
    return _area->convertToWorldSpace(local);
}

HiddenObject* GameBoard::findItemAt(const Vec2& worldPoint) const {
    if (!_nodeLevel) {
        return nullptr;
    }
    for (auto& [name, item] : _nodeLevel->getItems()) {
        if (!item->isActive() || item->getState() != HiddenObjectState::Hidden) {
            continue;
        }
        if (!_forcedItem.empty() && name != _forcedItem) {
            continue;
        }
        if (item->hitTest(worldPoint)) {
            return item;
        }
    }
    return nullptr;
}

EraseableGameObject* GameBoard::findDamageAt(const Vec2& worldPoint) const {
    if (!_nodeLevel) {
        return nullptr;
    }
    const Vec2 local = _nodeLevel->convertToNodeSpace(worldPoint);
    for (EraseableGameObject* damage : _nodeLevel->getDamageList()) {
        if (damage->isActive() && damage->getBoundingBox().containsPoint(local)) {
            return damage;
        }
    }
    return nullptr;
}

bool GameBoard::hasDamage() const {
    return _nodeLevel && !_nodeLevel->getDamageList().empty();
}

// --- what the tools achieve -----------------------------------------------------------------------

void GameBoard::hitItem(HiddenObject* item, const Vec2& location) {
    cocos2d::log("hit item '%s', touch %f %f", item->getName().c_str(), location.x, location.y);
    chooseDefect(item);
    item->reveal();
    _currentItem = item;
    if (_onItemHit) {
        _onItemHit(item, location);
    }
}

void GameBoard::chooseDefect(HiddenObject* item) {
    auto kind = static_cast<DefectKind>(std::rand() % 2 + 2);
    const int area = item->getArea();
    cocos2d::log("area = %d", area);
    if (area < kDirtAreaLimit) {
        kind = DefectKind::Dirt;
    }
    if (isIntroLevel()) {
        // The intro walks through the knife, the brush and the eraser in turn.
        if (_itemsRestored == 0) {
            kind = DefectKind::Blot;
        } else if (_itemsRestored == 1) {
            kind = DefectKind::Scrape;
        } else if (_itemsRestored == 2) {
            kind = DefectKind::Dirt;
        }
    }
    item->setKind(kind);
    if (kind == DefectKind::Blot) {
        item->setMaskFrame("blot_tex.png");
        item->setColor(kBlotColor);
        item->setShaderName("");
        item->setBrushName("eraser_knife");
    } else if (kind == DefectKind::Scrape) {
        item->setMaskFrame("scrape_tex.png");
        item->setShaderName("");
    }
}

bool GameBoard::eraseCurrentItem(Touch* touch) {
    if (_currentItem == nullptr || !_nodeLevel) {
        return false;
    }
    // However fast the hand, the whole move counts: a move that crossed the item strokes the part of
    // it that lay on the item.
    const Vec2 from = touch->getPreviousLocation();
    const Vec2 to = touch->getLocation();
    StrokeSpan span;
    if (!_currentItem->findCrossing(from, to, span)) {
        return false;
    }
    if (_currentItem->eraseAlong(from, to, span) && _currentItem->getState() == HiddenObjectState::Revealed) {
        // Where the stroke left the item, which is the touch's location unless the move ran past it.
        itemErased(_currentItem, from + (to - from) * span.to);
    }
    return true;
}

void GameBoard::itemErased(HiddenObject* item, const Vec2& location) {
    const BoardPricing::Rate rate{_priceRate, _minArea, _maxArea};
    const int32_t area = item->getArea();
    const float price = static_cast<float>(BoardPricing::itemPrice(_fullPicturePrice, rate, area));
    _earned += price;
    cocos2d::log("item erased '%s', area=%d, price=%f", item->getName().c_str(), area, price);
    ++_itemsRestored;
    _restoredThisTouch = true;
    _restoredNames.push_back(item->getName());
    if (_onItemErased) {
        _onItemErased(item, location);
    }
    item->onRestored();
    _nodeLevel->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kEraseSettle),
                                                    cocos2d::CallFunc::create([this, item] {
                                                        if (_currentItem == item) {
                                                            _currentItem = nullptr;
                                                        }
                                                        _nodeLevel->removeItem(item);
                                                    })));
}

bool GameBoard::fixDamage(Touch* touch, DefectKind kind) {
    if (!_nodeLevel || !isMoveOnPicture(touch)) {
        return false;
    }
    const Vec2 from = touch->getPreviousLocation();
    const Vec2 to = touch->getLocation();
    // Every object of the kind that the move crossed gets its part of the move; where objects overlap
    // the older one takes it, as it takes every touch that lands there.
    std::vector<StrokeSpan> taken;
    bool stroked = false;
    // Finished objects leave the list only later, so it stays as it is while it is walked.
    for (EraseableGameObject* damage : _nodeLevel->getDamageList()) {
        StrokeSpan span;
        if (!damage->isActive() || damage->getKind() != kind || !damage->findCrossing(from, to, span)) {
            continue;
        }
        for (const StrokeSpan& piece : spanWithout(span, taken)) {
            if (damage->isActive()) {
                fixDamageStroke(damage, from, to, piece);
                stroked = true;
            }
        }
        taken.push_back(span);
    }
    return stroked;
}

void GameBoard::fixDamageStroke(EraseableGameObject* object, const Vec2& from, const Vec2& to,
                                const StrokeSpan& span) {
    if (!object->eraseAlong(from, to, span)) {
        return;
    }
    object->setActive(false);
    _restoredThisTouch = true;
    object->runAction(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(kDamageRecordDelay),
                                  cocos2d::CallFunc::create([this, object] { removeSavedDamage(object); })));
    object->runAction(
        cocos2d::Sequence::create(cocos2d::FadeOut::create(kDamageFade), cocos2d::RemoveSelf::create(true)));
}

void GameBoard::removeSavedDamage(EraseableGameObject* object) {
    std::vector<DamageRecord>& records = pictureRecord().damage;
    auto record = std::find_if(records.begin(), records.end(),
                               [object](const DamageRecord& r) { return r.id == object->getTag(); });
    if (record != records.end()) {
        records.erase(record);
    }
    _nodeLevel->removeDamage(object);
    if (_onDamageFixed) {
        _onDamageFixed(object, Vec2::ZERO);
    }
}

void GameBoard::reportMiss(const Vec2& position, ToolState tool) {
    if (_onMiss) {
        _onMiss(position, tool);
    }
    ++_mistakes;
}

void GameBoard::notifyToolChange(int toolId) {
    if (_onToolChange) {
        _onToolChange(toolId, false);
    }
}

// --- hints ----------------------------------------------------------------------------------------

void GameBoard::useHint() {
    if (_hintOverlay != nullptr || _hintsLeft == 0) {
        return;
    }
    --_hintsLeft;
    startHint();
    GameSound::getInstance().playEffect("btnDown", false);
}

void GameBoard::startHint() {
    float delay = 0.0f;
    if (_panZoom) {
        _panZoom->zoomOut();
        delay = _panZoom->getZoomOutDuration();
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(delay),
                                        cocos2d::CallFunc::create([this] { showHint(); })));
    pauseInputFor(delay + kHintInputMargin);
}

void GameBoard::showHint() {
    Node* target = getHintTarget();
    if (target == nullptr) {
        return;
    }
    if (_onHintShown) {
        _onHintShown(_nodeLevel->convertToWorldSpace(target->getPosition()));
    }
    ++_hintsUsed;
    showHintOverlay(hintHole(target));
}

Rect GameBoard::hintHole(const Node* target) const {
    const Rect box = target->getBoundingBox();
    const Vec2 corner = _nodeLevel->convertToWorldSpace(box.origin);
    return Rect(corner.x - kHintMargin, corner.y - kHintMargin, box.size.width + 2.0f * kHintMargin,
                box.size.height + 2.0f * kHintMargin);
}

Node* GameBoard::getHintTarget() const {
    if (!_nodeLevel) {
        return nullptr;
    }
    if (!_nodeLevel->getItems().empty()) {
        const std::vector<std::string> names = getShuffledItemNames();
        return _nodeLevel->getItems().at(names.front());
    }
    if (!_nodeLevel->getDamageList().empty()) {
        return _nodeLevel->getDamageList().front();
    }
    return nullptr;
}

std::vector<std::string> GameBoard::getShuffledItemNames() const {
    std::vector<std::string> names;
    if (_nodeLevel) {
        for (const auto& [name, item] : _nodeLevel->getItems()) {
            names.push_back(name);
        }
    }
    shuffleWithRand(names.begin(), names.end());
    return names;
}

void GameBoard::showHintOverlay(const Rect& hole) {
    if (_hintOverlay != nullptr) {
        _hintOverlay->removeFromParentAndCleanup(true);
        _hintOverlay = nullptr;
    }
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();
    const Vec2 origin = director->getVisibleOrigin();
    cocos2d::RenderTexture* snapshot = cocos2d::RenderTexture::create(
        static_cast<int>(visible.width + origin.x), static_cast<int>(visible.height + origin.y));
    if (snapshot == nullptr) {
        return;
    }
    snapshot->beginWithClear(0.0f, 0.0f, 0.0f, 0.0f);
    _nodeLevel->visit();
    snapshot->end();
    // The snapshot covers the world from its origin, so the hole's world corners are its pixels.
    cocos2d::Sprite* overlay =
        createHoleMaskSprite(snapshot->getSprite()->getTexture(),
                             cocos2d::Vec4(hole.getMinX(), hole.getMinY(), hole.getMaxX(), hole.getMaxY()));
    if (overlay == nullptr) {
        return;
    }
    overlay->setOpacity(0);
    overlay->runAction(cocos2d::FadeIn::create(kHintFade));
    overlay->setAnchorPoint(Vec2::ZERO);
    overlay->setPosition(_nodeLevel->getPosition() -
                         _nodeLevel->convertToWorldSpace(_nodeLevel->getPosition()));
    _nodeLevel->addChild(overlay, _nodeLevel->nextZOrder(true));
    // The overlay came retained; the level node holds it now.
    overlay->release();
    overlay->runAction(cocos2d::RepeatForever::create(
        cocos2d::Sequence::create(cocos2d::FadeTo::create(0.7f, 230), cocos2d::DelayTime::create(0.35f),
                                  cocos2d::FadeTo::create(0.7f, 255), cocos2d::DelayTime::create(0.35f))));
    _hintOverlay = overlay;
}

void GameBoard::hideHintOverlay() {
    if (_hintOverlay == nullptr) {
        return;
    }
    _hintOverlay->stopAllActions();
    _hintOverlay->runAction(
        cocos2d::Sequence::create(cocos2d::FadeOut::create(kHintFade), cocos2d::RemoveSelf::create(true)));
    _hintOverlay = nullptr;
}

// --- input, tutorials, end ------------------------------------------------------------------------

void GameBoard::setInputPaused(Node* node, bool paused) {
    if (node == nullptr) {
        return;
    }
    cocos2d::EventDispatcher* dispatcher = cocos2d::Director::getInstance()->getEventDispatcher();
    if (paused) {
        dispatcher->pauseEventListenersForTarget(node, false);
    } else {
        dispatcher->resumeEventListenersForTarget(node, false);
    }
}

void GameBoard::pauseInputFor(float seconds) {
    setInputPaused(this, true);
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(seconds),
                                        cocos2d::CallFunc::create([this] { setInputPaused(this, false); })));
}

void GameBoard::setForcedItem(const std::string& name) {
    if (_nodeLevel && _nodeLevel->getItems().count(name) != 0) {
        _forcedItem = name;
    }
}

void GameBoard::lowerForcedItem() {
    if (_forcedItem.empty() || !_nodeLevel) {
        return;
    }
    auto item = _nodeLevel->getItems().find(_forcedItem);
    if (item != _nodeLevel->getItems().end()) {
        item->second->setGlobalZOrder(0.0f);
    }
}

void GameBoard::endPlay() {
    stopAllActions();
    if (_panZoom) {
        _panZoom->zoomOut();
    }
    if (_state != nullptr) {
        _state->stopSound(true);
    }
    setInputPaused(this, true);
}

void GameBoard::solveAll() {
    PictureProgress& record = pictureRecord();
    if (_nodeLevel) {
        for (const auto& [name, item] : _nodeLevel->getItems()) {
            record.restoredHistory.insert(name);
        }
    }
    _itemsRestored = _itemsOnLevel;
    // What the play adds is measured against the earlier plays, which earned already includes.
    _earned = static_cast<float>(_fullPicturePrice);
}

void GameBoard::eraseHintTarget() {
    if (_currentItem != nullptr) {
        // Erasing another item now would leave the current one unfinished for good.
        return;
    }
    auto* item = dynamic_cast<HiddenObject*>(getHintTarget());
    if (item == nullptr || item->getState() == HiddenObjectState::Restored) {
        return;
    }
    const Rect box = item->getBoundingBox();
    itemErased(item, _nodeLevel->convertToWorldSpace(box.origin));
}
