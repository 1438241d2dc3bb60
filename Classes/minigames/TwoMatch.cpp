#include "minigames/TwoMatch.h"

#include <cstdlib>
#include <initializer_list>
#include <new>
#include <string>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/RotateTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"

#include "GameSound.h"
#include "MinigameKind.h"
#include "Shuffle.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameLevels.h"
#include "minigames/MinigameResources.h"
#include "minigames/TwoMatchPipe.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kMatchSound = "Minigames/TM_match_made";
constexpr const char* kClearRowSound = "Minigames/TM_clear_row";
constexpr const char* kTumblerSound = "Minigames/TM_tumbler_tripped";
constexpr const char* kMatchParticles = "particles/twomatchmatch.plist";

constexpr float kOrderMove = 0.3f;
constexpr float kOrderCheckDelay = 0.3f;
constexpr float kRemoveDelay = 0.16f;
constexpr float kShrink = 0.15f;
constexpr float kRowMove = 0.3f;
constexpr float kPintleMove = 0.5f;
constexpr float kDoorFade = 0.5f;
constexpr float kHandleTurn = 0.5f;
constexpr float kOpenToWin = 2.0f;

std::string folder() {
    return minigameFolder(static_cast<int32_t>(MinigameKind::TwoMatch));
}

std::string tileName(int32_t kind) {
    return "tile_" + std::to_string(kind);
}

}  // namespace

TwoMatch* TwoMatch::create() {
    auto* game = new (std::nothrow) TwoMatch();
    if (game != nullptr && game->init()) {
        game->autorelease();
        return game;
    }
    delete game;
    return nullptr;
}

TwoMatch::TwoMatch() {
    preloadSounds();
}

TwoMatch::~TwoMatch() {
    cocos2d::log("~TwoMatch");
    _pintles.clear();
    _tumblers.clear();
    _kindBag.clear();
    if (!isRestart()) {
        releaseMinigameResources(
            MinigameResources{folder(),
                              {kMatchSound, kClearRowSound, kTumblerSound},
                              {"/UI_atlas.xml", "/Tiles_atlas.xml"},
                              {"/UI_atlas.png", "/Tiles_atlas.png", "/background.jpg", "/top_plate.png",
                               "/hinge_closed.png", "/hinge_open.png", "/painting.png"},
                              {}});
    }
}

void TwoMatch::preloadSounds() {
    GameSound& sound = GameSound::getInstance();
    for (const char* name : {kMatchSound, kClearRowSound, kTumblerSound}) {
        sound.preloadEffect(name);
    }
}

void TwoMatch::unloadSounds() {
    GameSound& sound = GameSound::getInstance();
    for (const char* name : {kMatchSound, kClearRowSound, kTumblerSound}) {
        sound.uncacheEffect(name);
    }
}

bool TwoMatch::init() {
    if (!MinigameBase::init()) {
        return false;
    }
    _loader = std::make_unique<NodeFromJson>(folder());
    _painting = _loader->createNode("painting");
    _ui = _loader->createNode("UI");
    if (_ui == nullptr) {
        cocos2d::log("TwoMatch: no \"UI\" in %s", folder().c_str());
        return false;
    }
    if (_painting != nullptr) {
        addChild(_painting);
    }
    addChild(_ui);
    _topPlate = _loader->createNode("top_plate");
    cocos2d::Node* plateHolder = _ui->getChildByName("top_plate_place");
    if (_topPlate != nullptr && plateHolder != nullptr) {
        _topPlate->setAnchorPoint(cocos2d::Vec2(0.0f, 1.0f));
        _topPlate->setPosition(cocos2d::Vec2(0.0f, 1.0f));
        plateHolder->addChild(_topPlate);
    } else {
        // Nothing holds a plate that has no place.
        _topPlate = nullptr;
    }
    _openHinge = _loader->createNode("hinge_open");
    if (_openHinge != nullptr) {
        _openHinge->setVisible(false);
        addChild(_openHinge);
    }
    _closedHinge = _loader->createNode("hinge_closed");
    if (_closedHinge != nullptr) {
        addChild(_closedHinge);
    }

    cocos2d::Node* orderBack = _ui->getChildByName("neworder_back");
    _orderHolder = cocos2d::Node::create();
    if (orderBack != nullptr) {
        _orderHolder->setPosition(cocos2d::Vec2(84.0f, 80.0f));
        orderBack->addChild(_orderHolder);
    } else {
        _ui->addChild(_orderHolder);
    }
    _wrongIndicator = _ui->getChildByName("indicator_wrong");
    _correctIndicator = _ui->getChildByName("indicator_correct");
    if (_correctIndicator != nullptr) {
        _correctIndicator->setVisible(false);
    }
    _gridFrame = _ui->getChildByName("grid");
    _handle = _ui->getChildByName("handle_dinamic");
    if (_handle != nullptr) {
        // Turned about its hinge; moved so that it stays where the description put it.
        _handle->setAnchorPoint(cocos2d::Vec2(0.85f, 0.55f));
        _handle->setPosition(_handle->getPosition() + cocos2d::Vec2(85.0f, 5.0f));
    }

    _pintles.assign(kRows, nullptr);
    _tumblers.assign(kRows, 0);
    for (int32_t row = 0; row < kRows; ++row) {
        cocos2d::Node* pintle = _ui->getChildByName("pintle_" + std::to_string(row));
        if (pintle != nullptr) {
            pintle->setVisible(false);
        }
        _pintles[static_cast<size_t>(row)] = pintle;
    }
    _level = TwoMatchLevel::load(currentMinigameLevel);
    for (const int32_t row : _level.lockedRows) {
        _tumblers[static_cast<size_t>(row)] = 1;
        if (_pintles[static_cast<size_t>(row)] != nullptr) {
            _pintles[static_cast<size_t>(row)]->setVisible(true);
        }
    }

    _tileLayer = _ui->getChildByName("slots_place");
    if (_tileLayer == nullptr) {
        cocos2d::log("TwoMatch: no \"slots_place\" in %s", folder().c_str());
        return false;
    }
    _tileLayer->setPosition(cocos2d::Vec2::ZERO);
    _orderScale = kOrderScale;
    _gridOrigin = cocos2d::Vec2(-265.0f, -200.0f);

    if (!createGrid()) {
        // Lost already: the host shows the loss.
        return true;
    }
    showNewOrder();
    // The new order has locked input until its check; the first grid takes touches at once.
    setInputLocked(false);
    return true;
}

cocos2d::Vec2 TwoMatch::cellCentre(int32_t column, int32_t row) const {
    return _gridOrigin +
           cocos2d::Vec2(kCellSpacing * static_cast<float>(column), kCellSpacing * static_cast<float>(row));
}

TwoMatchPipe* TwoMatch::getTile(int32_t column, int32_t row) const {
    if (!TwoMatchGrid::isInside(column, row)) {
        return nullptr;
    }
    return _grid[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

int32_t TwoMatch::getTumbler(int32_t row) const {
    return row >= 0 && row < static_cast<int32_t>(_tumblers.size()) ? _tumblers[static_cast<size_t>(row)] : 0;
}

TwoMatchGrid TwoMatch::getKindGrid() const {
    TwoMatchGrid kinds;
    for (int32_t column = 0; column < kColumns; ++column) {
        for (int32_t row = 0; row < kRows; ++row) {
            if (const TwoMatchPipe* tile = getTile(column, row)) {
                kinds.set(column, row, tile->getKind());
            }
        }
    }
    return kinds;
}

cocos2d::Node* TwoMatch::makePicture(const std::string& name, bool fromDescription) {
    // The first grid is built from the description, later tiles from the sheet; each falls back on the
    // other, as the order's pictures do.
    cocos2d::Node* picture = nullptr;
    for (const bool description : {fromDescription, !fromDescription}) {
        picture = description ? _loader->createNode(name)
                              : cocos2d::Sprite::createWithSpriteFrameName(name + ".png");
        if (picture != nullptr) {
            break;
        }
    }
    return picture;
}

TwoMatchPipe* TwoMatch::makeTile(int32_t kind, bool fromDescription) {
    cocos2d::Node* picture = makePicture(tileName(kind), fromDescription);
    if (picture == nullptr) {
        return nullptr;
    }
    return TwoMatchPipe::create(kind, picture, makePicture("Selection", fromDescription));
}

bool TwoMatch::addTile(int32_t kind, bool fromDescription, int32_t column, int32_t row,
                       const cocos2d::Vec2& position) {
    TwoMatchPipe* tile = makeTile(kind, fromDescription);
    if (tile == nullptr) {
        // A tile nobody can see or tap would leave a door that can be neither opened nor lost.
        cocos2d::log(
            "TwoMatch: no picture for \"%s\" in %s, neither in its sheet nor in its description; "
            "the door cannot be played",
            tileName(kind).c_str(), folder().c_str());
        loseForGood();
        return false;
    }
    placeTile(tile, column, row, position);
    return true;
}

void TwoMatch::placeTile(TwoMatchPipe* tile, int32_t column, int32_t row, const cocos2d::Vec2& position) {
    tile->setCell(column, row);
    tile->setPosition(position);
    _grid[static_cast<size_t>(column)][static_cast<size_t>(row)] = tile;
    _tileLayer->addChild(tile);
    _kindBag.push_back(tile->getKind());
}

bool TwoMatch::createGrid() {
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            const int32_t kind = std::rand() % TwoMatchGrid::kKinds;
            if (!addTile(kind, true, column, row, cellCentre(column, row))) {
                return false;
            }
        }
    }
    shuffleWithRand(_kindBag.begin(), _kindBag.end());
    return true;
}

cocos2d::Node* TwoMatch::makeOrderSprite(int32_t kind) {
    cocos2d::Node* sprite = cocos2d::Sprite::createWithSpriteFrameName(tileName(kind) + ".png");
    if (sprite == nullptr) {
        sprite = _loader->createNode(tileName(kind));
    }
    return sprite;
}

int32_t TwoMatch::drawFromBag() {
    // The bag holds every tile on the grid but the order, so in play it never runs dry; a door laid
    // out by hand with fewer than two tiles still draws a kind rather than dividing by zero.
    if (_kindBag.empty()) {
        return std::rand() % TwoMatchGrid::kKinds;
    }
    const size_t index = static_cast<size_t>(std::rand()) % _kindBag.size();
    const int32_t kind = _kindBag[index];
    _kindBag.erase(_kindBag.begin() + static_cast<std::ptrdiff_t>(index));
    return kind;
}

void TwoMatch::showNewOrder() {
    for (cocos2d::Node*& old : _orderSprites) {
        if (old == nullptr) {
            continue;
        }
        old->stopAllActions();
        old->runAction(cocos2d::Sequence::create(
            cocos2d::MoveTo::create(kOrderMove,
                                    cocos2d::Vec2(old->getPositionX(), _orderScale * -kCellSpacing)),
            cocos2d::RemoveSelf::create(true)));
        old->runAction(cocos2d::Sequence::create(
            cocos2d::DelayTime::create(0.198f),
            cocos2d::ScaleTo::create(0.09f, old->getScaleX(), old->getScaleY() * 0.6f)));
        old = nullptr;
    }
    for (size_t i = 0; i < _order.size(); ++i) {
        _order[i] = drawFromBag();
        const float x = _orderScale * kCellSpacing * (i == 0 ? -0.5f : 0.5f);
        cocos2d::Node* sprite = makeOrderSprite(_order[i]);
        if (sprite == nullptr) {
            continue;
        }
        sprite->setAnchorPoint(cocos2d::Vec2(0.5f, 1.0f));
        sprite->setScale(_orderScale);
        sprite->setPosition(cocos2d::Vec2(x, _orderScale * kCellSpacing));
        _orderHolder->addChild(sprite);
        sprite->runAction(cocos2d::MoveTo::create(kOrderMove, cocos2d::Vec2(x, 0.0f)));
        _orderSprites[i] = sprite;
    }
    setInputLocked(true);
    scheduleOrderCheck();
}

void TwoMatch::scheduleOrderCheck() {
    // Only the newest order's check may run: the first order takes touches at once, so a pair made
    // within its delay would leave its check pending, and that check would unlock the next order
    // while its tiles still slide in, and so on for every order after it.
    stopActionByTag(kOrderCheckTag);
    cocos2d::Action* check =
        cocos2d::Sequence::create(cocos2d::DelayTime::create(kOrderCheckDelay),
                                  cocos2d::CallFunc::create([this] { checkTwoMatchEnd(); }));
    check->setTag(kOrderCheckTag);
    runAction(check);
}

void TwoMatch::checkTwoMatchEnd() {
    // A door lost while this check was pending (a tile that could not be built) stays locked.
    if (isDecided()) {
        return;
    }
    if (getState() != MinigameState::Won) {
        setInputLocked(false);
    }
    bool locked = false;
    for (const int32_t tumbler : _tumblers) {
        locked = locked || tumbler != 0;
    }
    if (!locked) {
        openDoor();
    } else if (!hasValidPair()) {
        lose();
    }
}

bool TwoMatch::hasValidPair() const {
    return getKindGrid().hasValidPair(_order[0], _order[1]);
}

bool TwoMatch::isValidPair(const TwoMatchPipe* tile) const {
    if (_selectedTile == nullptr || tile == nullptr) {
        return false;
    }
    return TwoMatchGrid::areNeighbours(_selectedTile->getColumn(), _selectedTile->getRow(), tile->getColumn(),
                                       tile->getRow()) &&
           TwoMatchGrid::isOrderPair(_selectedTile->getKind(), tile->getKind(), _order[0], _order[1]);
}

TwoMatchPipe* TwoMatch::tileAt(const cocos2d::Vec2& worldPoint) const {
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            TwoMatchPipe* tile = getTile(column, row);
            if (tile != nullptr && tile->containsWorldPoint(worldPoint)) {
                return tile;
            }
        }
    }
    return nullptr;
}

void TwoMatch::select(TwoMatchPipe* tile) {
    tile->setSelected(true);
    _selectedTile = tile;
}

void TwoMatch::deselect() {
    if (_selectedTile != nullptr) {
        _selectedTile->setSelected(false);
        _selectedTile = nullptr;
    }
}

bool TwoMatch::touchBegan(const cocos2d::Vec2& location) {
    _lastTouch = location;
    if (isInputLocked() || _matchedTile != nullptr) {
        return true;
    }
    _pressed = true;
    TwoMatchPipe* tile = tileAt(location);
    if (tile == nullptr) {
        deselect();
    } else if (_selectedTile == nullptr) {
        select(tile);
    } else if (isValidPair(tile)) {
        matchMade(tile);
    } else {
        const TwoMatchPipe* previous = _selectedTile;
        deselect();
        if (tile != previous) {
            select(tile);
        }
    }
    return true;
}

bool TwoMatch::touchMoved(const cocos2d::Vec2& location) {
    _lastTouch = location;
    if (isInputLocked() || _matchedTile != nullptr) {
        return true;
    }
    if (_pressed && _selectedTile != nullptr) {
        TwoMatchPipe* tile = tileAt(location);
        if (isValidPair(tile)) {
            matchMade(tile);
        }
    }
    return true;
}

bool TwoMatch::touchEnded(const cocos2d::Vec2& location) {
    _lastTouch = location;
    _pressed = false;
    return true;
}

void TwoMatch::matchMade(TwoMatchPipe* tile) {
    _matchedTile = tile;
    setInputLocked(true);
    // The selected tile stays remembered until the pair is removed; only its frame goes.
    _selectedTile->setSelected(false);
    GameSound::getInstance().playEffect(kMatchSound, false);
    for (TwoMatchPipe* removed : {_selectedTile, _matchedTile}) {
        removed->stopAllActions();
        removed->runAction(cocos2d::ScaleTo::create(kShrink, 0.1f, 0.1f));
        if (cocos2d::ParticleSystemQuad* sparks = cocos2d::ParticleSystemQuad::create(kMatchParticles)) {
            sparks->setAutoRemoveOnFinish(true);
            sparks->setPosition(convertToNodeSpace(removed->convertToWorldSpace(cocos2d::Vec2::ZERO)));
            addChild(sparks);
        }
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kRemoveDelay),
                                        cocos2d::CallFunc::create([this] { removePair(); })));
}

void TwoMatch::removePair() {
    if (_selectedTile == nullptr || _matchedTile == nullptr) {
        return;
    }
    const int32_t rows[2] = {_selectedTile->getRow(), _matchedTile->getRow()};
    for (TwoMatchPipe* removed : {_selectedTile, _matchedTile}) {
        _grid[static_cast<size_t>(removed->getColumn())][static_cast<size_t>(removed->getRow())] = nullptr;
        _tileLayer->removeChild(removed, true);
    }
    _selectedTile = nullptr;
    _matchedTile = nullptr;

    const TwoMatchGrid kinds = getKindGrid();
    for (size_t i = 0; i < 2; ++i) {
        const int32_t row = rows[i];
        if (i == 1 && row == rows[0]) {
            break;
        }
        if (_tumblers[static_cast<size_t>(row)] == 1 && kinds.isRowEmpty(row)) {
            _tumblers[static_cast<size_t>(row)] = 0;
            if (cocos2d::Node* pintle = _pintles[static_cast<size_t>(row)]) {
                pintle->runAction(cocos2d::MoveTo::create(
                    kPintleMove, pintle->getPosition() + cocos2d::Vec2(100.0f, 0.0f)));
            }
            GameSound::getInstance().playEffect(kTumblerSound, false);
        }
    }
    collapseRows();
}

void TwoMatch::collapseRows() {
    TwoMatchGrid kinds = getKindGrid();
    const bool cleared = kinds.emptyRowCount() > 0;
    for (const TwoMatchGrid::RowMove& move : kinds.collapse()) {
        for (int32_t column = 0; column < kColumns; ++column) {
            TwoMatchPipe*& from = _grid[static_cast<size_t>(column)][static_cast<size_t>(move.from)];
            TwoMatchPipe*& to = _grid[static_cast<size_t>(column)][static_cast<size_t>(move.to)];
            to = from;
            from = nullptr;
            if (to != nullptr) {
                to->setCell(column, move.to);
                to->runAction(cocos2d::MoveTo::create(kRowMove, cellCentre(column, move.to)));
            }
        }
    }
    if (cleared) {
        GameSound::getInstance().playEffect(kClearRowSound, false);
    }
    const int32_t empty = kinds.emptyRowCount();
    if (empty > 0 && !addRows(empty)) {
        return;
    }
    showNewOrder();
}

bool TwoMatch::addRows(int32_t count) {
    const cocos2d::Vec2 drop(0.0f, kCellSpacing * static_cast<float>(count));
    for (int32_t row = kRows - count; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            const int32_t kind = std::rand() % TwoMatchGrid::kKinds;
            if (!addTile(kind, false, column, row, cellCentre(column, row) + drop)) {
                return false;
            }
            getTile(column, row)->runAction(cocos2d::MoveTo::create(kRowMove, cellCentre(column, row)));
        }
    }
    shuffleWithRand(_kindBag.begin(), _kindBag.end());
    return true;
}

void TwoMatch::openDoor() {
    setState(MinigameState::Waiting);
    setInputLocked(true);
    if (_wrongIndicator != nullptr) {
        _wrongIndicator->runAction(cocos2d::FadeOut::create(kDoorFade));
    }
    if (_correctIndicator != nullptr) {
        _correctIndicator->setVisible(true);
        _correctIndicator->setOpacity(0);
        _correctIndicator->runAction(cocos2d::FadeIn::create(kDoorFade));
    }
    if (_handle != nullptr) {
        _handle->runAction(cocos2d::RotateTo::create(kHandleTurn, -50.0f));
    }
    // The door's timing runs on the game itself, so a host that stops the game before it leaves also
    // cancels the win that would otherwise follow.
    runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kHandleTurn), cocos2d::CallFunc::create([this] { swingDoorOpen(); }),
        cocos2d::DelayTime::create(kOpenToWin), cocos2d::CallFunc::create([this] { win(); })));
}

void TwoMatch::swingDoorOpen() {
    // Everything mounted on the door goes with it: the open door, drawn swung back on its hinges,
    // takes the place of its face, its handle, its bolts and a plate, if the door has one.
    for (cocos2d::Node* part : {_closedHinge, _handle, _topPlate}) {
        if (part != nullptr) {
            part->runAction(cocos2d::FadeOut::create(kDoorFade));
        }
    }
    for (cocos2d::Node* pintle : _pintles) {
        if (pintle != nullptr) {
            pintle->runAction(cocos2d::FadeOut::create(kDoorFade));
        }
    }
    if (_openHinge != nullptr) {
        _openHinge->setVisible(true);
        _openHinge->setOpacity(0);
        _openHinge->runAction(cocos2d::FadeIn::create(kDoorFade));
    }
    if (_gridFrame != nullptr) {
        _gridFrame->runAction(cocos2d::FadeOut::create(kDoorFade));
    }
    for (const auto& column : _grid) {
        for (TwoMatchPipe* tile : column) {
            if (tile != nullptr) {
                tile->getTileSprite()->runAction(cocos2d::FadeOut::create(0.3f));
            }
        }
    }
}

void TwoMatch::layOut(const TwoMatchGrid& kinds, int32_t order1, int32_t order2) {
    stopAllActions();
    deselect();
    _matchedTile = nullptr;
    _tileLayer->removeAllChildrenWithCleanup(true);
    for (auto& column : _grid) {
        column.fill(nullptr);
    }
    _kindBag.clear();
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            const int32_t kind = kinds.kind(column, row);
            if (kind == TwoMatchGrid::kEmpty) {
                continue;
            }
            if (!addTile(kind, false, column, row, cellCentre(column, row))) {
                return;
            }
        }
    }
    _order = {order1, order2};
    for (const int32_t kind : _order) {
        for (auto it = _kindBag.begin(); it != _kindBag.end(); ++it) {
            if (*it == kind) {
                _kindBag.erase(it);
                break;
            }
        }
    }
    for (size_t i = 0; i < _orderSprites.size(); ++i) {
        if (_orderSprites[i] != nullptr) {
            _orderSprites[i]->removeFromParentAndCleanup(true);
        }
        _orderSprites[i] = makeOrderSprite(_order[i]);
        if (_orderSprites[i] != nullptr) {
            _orderSprites[i]->setAnchorPoint(cocos2d::Vec2(0.5f, 1.0f));
            _orderSprites[i]->setScale(_orderScale);
            _orderSprites[i]->setPosition(
                cocos2d::Vec2(_orderScale * kCellSpacing * (i == 0 ? -0.5f : 0.5f), 0.0f));
            _orderHolder->addChild(_orderSprites[i]);
        }
    }
    setInputLocked(true);
    scheduleOrderCheck();
}
