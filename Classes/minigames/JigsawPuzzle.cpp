#include "minigames/JigsawPuzzle.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/math/Rect.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Sprite.h"

#include "GameSound.h"
#include "MinigameKind.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/JigsawPipe.h"
#include "minigames/MinigameLevels.h"
#include "minigames/MinigameResources.h"
#include "ui/NodeFromJson.h"

namespace {

const char* const kTakeSound = "Minigames/JP_pipetake";

const std::string& folder() {
    static const std::string name = minigameFolder(static_cast<int32_t>(MinigameKind::JigsawPuzzle));
    return name;
}

}  // namespace

bool JigsawPuzzle::layoutFor(int32_t pixelsWide, int32_t pixelsHigh, int32_t columns, int32_t rows,
                             int32_t pipeSize, Layout& layout) {
    if (columns < 1 || rows < 1 || pixelsWide < 1 || pixelsHigh < 1) {
        return false;
    }
    const int32_t fitting = std::min(pixelsWide / columns, pixelsHigh / rows);
    int32_t cell = pipeSize;
    if (cell <= 0) {
        cell = fitting;
    } else if (cell > fitting) {
        // Tiles larger than the picture would be cut from outside its texture.
        cocos2d::log("JigsawPuzzle: %d x %d tiles of %d pixels do not fit a %d x %d picture, using %d",
                     columns, rows, cell, pixelsWide, pixelsHigh, fitting);
        cell = fitting;
    }
    if (cell < 1) {
        return false;
    }
    layout.cellSize = cell;
    layout.marginX = (pixelsWide - cell * columns) / 2;
    layout.marginY = (pixelsHigh - cell * rows) / 2;
    return true;
}

JigsawPuzzle* JigsawPuzzle::create() {
    auto* game = new (std::nothrow) JigsawPuzzle();
    if (game != nullptr && game->init()) {
        game->autorelease();
        return game;
    }
    delete game;
    return nullptr;
}

JigsawPuzzle::~JigsawPuzzle() {
    cocos2d::log("~JigsawPuzzle");
    _loader.reset();
    if (!isRestart()) {
        std::vector<std::string> pictures;
        if (!_pictureFile.empty()) {
            pictures.push_back(_pictureFile);
        }
        releaseMinigameResources(MinigameResources{
            folder(), {}, {"/UI_atlas.xml"}, {"/UI_atlas.png", "/background.jpg"}, pictures});
    }
    _grid.clear();
    _tiles.clear();
}

bool JigsawPuzzle::init() {
    if (!MinigameBase::init()) {
        return false;
    }
    _loader = std::make_unique<NodeFromJson>(folder());
    _background = _loader->createNode("background");
    if (_background != nullptr) {
        addChild(_background);
    }
    _level = JigsawPuzzleLevel::read(currentMinigameLevel);
    if (!buildBoard()) {
        const JigsawPuzzleLevel fallback = JigsawPuzzleLevel::defaults(currentMinigameLevel);
        cocos2d::log("JigsawPuzzle: level %d cannot be cut from %s, playing %d x %d tiles of %s",
                     _level.number, _level.pictureName.c_str(), fallback.width, fallback.height,
                     fallback.pictureName.c_str());
        _level = fallback;
        if (!buildBoard()) {
            return false;
        }
    }
    setState(MinigameState::Playing);
    _dragging = false;
    setInputLocked(false);
    return true;
}

bool JigsawPuzzle::buildBoard() {
    cocos2d::Sprite* picture = cocos2d::Sprite::create(_level.pictureName);
    if (picture == nullptr || picture->getTexture() == nullptr) {
        return false;
    }
    Layout layout;
    const cocos2d::Texture2D* texture = picture->getTexture();
    if (!layoutFor(texture->getPixelsWide(), texture->getPixelsHigh(), _level.width, _level.height,
                   _level.pipeSize, layout)) {
        return false;
    }
    _picture = picture;
    _pictureFile = _level.pictureName;
    _cellSize = layout.cellSize;
    _marginX = layout.marginX;
    _marginY = layout.marginY;
    // Only the part of the picture the tiles are cut from is shown, so the tiles fill the frame
    // edge to edge; the margins the square cells leave over are never seen.
    _picture->setTextureRect(cocos2d::Rect(static_cast<float>(_marginX), static_cast<float>(_marginY),
                                           static_cast<float>(_cellSize * _level.width),
                                           static_cast<float>(_cellSize * _level.height)));
    addChild(_picture);
    _picture->setPosition(cocos2d::Vec2(0.0f, kBoardLift));
    buildBorder();
    buildTiles();
    buildSilhouette();
    return true;
}

void JigsawPuzzle::buildBorder() {
    const cocos2d::Size size = _picture->getContentSize();
    const auto w = static_cast<float>(static_cast<int32_t>(size.width) - 1);
    const auto h = static_cast<float>(static_cast<int32_t>(size.height) - 1);
    struct Piece {
        const char* element;
        cocos2d::Vec2 anchor;
        float rotation;
        // The edge a side spans (0 for a corner, which keeps its own size).
        float span;
        cocos2d::Vec2 position;
    };
    const Piece pieces[] = {
        {"border_side", {0.0f, 0.0f}, -90.0f, h, {1.0f, 1.0f}},
        {"border_side", {1.0f, 0.0f}, 90.0f, h, {w, 1.0f}},
        {"border_side", {0.0f, 0.0f}, 0.0f, w, {1.0f, h}},
        {"border_side", {1.0f, 0.0f}, 180.0f, w, {1.0f, 1.0f}},
        {"border_corner", {1.0f, 0.0f}, -90.0f, 0.0f, {1.0f, 1.0f}},
        {"border_corner", {1.0f, 0.0f}, 0.0f, 0.0f, {1.0f, h}},
        {"border_corner", {1.0f, 0.0f}, 90.0f, 0.0f, {w, h}},
        {"border_corner", {1.0f, 0.0f}, 180.0f, 0.0f, {w, 1.0f}},
    };
    bool reported = false;
    for (const Piece& piece : pieces) {
        cocos2d::Node* node = _loader->createNode(piece.element);
        if (node == nullptr) {
            if (!reported) {
                cocos2d::log("JigsawPuzzle: %s/ccnode.json has no \"%s\", the picture has no border",
                             folder().c_str(), piece.element);
                reported = true;
            }
            continue;
        }
        node->setAnchorPoint(piece.anchor);
        node->setRotation(piece.rotation);
        const float sideWidth = node->getContentSize().width;
        if (piece.span > 0.0f && sideWidth > 0.0f) {
            node->setScaleX(piece.span / sideWidth);
        }
        node->setPosition(piece.position);
        _picture->addChild(node, 3);
    }
}

void JigsawPuzzle::buildTiles() {
    const int32_t columns = _level.width;
    const int32_t rows = _level.height;
    const int32_t c = _cellSize;
    cocos2d::Texture2D* texture = _picture->getTexture();
    _tiles.clear();
    for (int32_t i = 0; i < columns; ++i) {
        for (int32_t j = 0; j < rows; ++j) {
            JigsawPipe* tile = JigsawPipe::create();
            if (tile == nullptr) {
                continue;
            }
            tile->homeColumn = i;
            tile->homeRow = j;
            tile->setTexture(texture);
            // Texture rows count from the top, grid rows from the bottom.
            tile->setTextureRect(cocos2d::Rect(static_cast<float>(_marginX + c * i),
                                               static_cast<float>(_marginY + c * (rows - 1 - j)),
                                               static_cast<float>(c), static_cast<float>(c)));
            _picture->addChild(tile, 1);
            _tiles.push_back(tile);
        }
    }
    // Cell (0, 0) sits in the lower-left corner of the shown part of the picture.
    _boardOriginX = c / 2;
    _boardOriginY = c / 2;

    // Deal: each cell in turn takes one of the tiles not yet dealt, at random.
    std::vector<JigsawPipe*> undealt = _tiles;
    _grid.assign(static_cast<size_t>(columns), std::vector<JigsawPipe*>(static_cast<size_t>(rows), nullptr));
    for (int32_t i = 0; i < columns && !undealt.empty(); ++i) {
        for (int32_t j = 0; j < rows && !undealt.empty(); ++j) {
            const auto index = static_cast<size_t>(std::rand()) % undealt.size();
            JigsawPipe* tile = undealt[index];
            undealt.erase(undealt.begin() + static_cast<std::ptrdiff_t>(index));
            _grid[static_cast<size_t>(i)][static_cast<size_t>(j)] = tile;
            tile->setPosition(cellPosition(i, j));
        }
    }
}

void JigsawPuzzle::buildSilhouette() {
    const int32_t columns = _level.width;
    const int32_t rows = _level.height;
    const auto c = static_cast<float>(_cellSize);
    const cocos2d::Size board(static_cast<float>(columns) * c, static_cast<float>(rows) * c);
    _silhouette = cocos2d::Sprite::create();
    if (_silhouette == nullptr) {
        return;
    }
    auto* backdrop = dynamic_cast<cocos2d::Sprite*>(_background);
    if (backdrop != nullptr && backdrop->getTexture() != nullptr) {
        // The part of the background that lies behind the board (both sprites are centred on the game).
        const cocos2d::Size back = backdrop->getTextureRect().size;
        const cocos2d::Size front = _picture->getTextureRect().size;
        const cocos2d::Vec2 at = _picture->getPosition();
        _silhouette->setTexture(backdrop->getTexture());
        _silhouette->setTextureRect(
            cocos2d::Rect((back.width - front.width) / 2.0f + at.x, (back.height - front.height) / 2.0f - at.y,
                          board.width, board.height));
    } else {
        _silhouette->setTextureRect(cocos2d::Rect(0.0f, 0.0f, board.width, board.height));
    }
    _silhouette->setColor(kSilhouetteColor);
    _picture->addChild(_silhouette, 0);
    _silhouette->setPosition(getBoardOrigin() +
                             cocos2d::Vec2(board.width / 2.0f - c / 2.0f, board.height / 2.0f - c / 2.0f));
}

void JigsawPuzzle::update(float /*dt*/) {}

cocos2d::Vec2 JigsawPuzzle::getBoardOrigin() const {
    return cocos2d::Vec2(static_cast<float>(_boardOriginX), static_cast<float>(_boardOriginY));
}

cocos2d::Vec2 JigsawPuzzle::cellPosition(int32_t column, int32_t row) const {
    return cocos2d::Vec2(static_cast<float>(_cellSize * column + _boardOriginX),
                         static_cast<float>(_cellSize * row + _boardOriginY));
}

bool JigsawPuzzle::cellAt(const cocos2d::Vec2& point, int32_t& column, int32_t& row) const {
    if (_cellSize < 1) {
        return false;
    }
    const auto c = static_cast<float>(_cellSize);
    const auto half = static_cast<float>(_cellSize / 2);
    const float fx = (point.x + half - static_cast<float>(_boardOriginX)) / c;
    const float fy = (point.y + half - static_cast<float>(_boardOriginY)) / c;
    // The comparisons also refuse NaN, and keep the truncation below within int range.
    if (!(fx >= 0.0f && fy >= 0.0f && fx < static_cast<float>(getColumns()) &&
          fy < static_cast<float>(getRows()))) {
        return false;
    }
    column = static_cast<int32_t>(fx);
    row = static_cast<int32_t>(fy);
    return true;
}

JigsawPipe* JigsawPuzzle::tileAt(int32_t column, int32_t row) const {
    if (column < 0 || row < 0 || static_cast<size_t>(column) >= _grid.size() ||
        static_cast<size_t>(row) >= _grid[static_cast<size_t>(column)].size()) {
        return nullptr;
    }
    return _grid[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

bool JigsawPuzzle::isSolved() const {
    for (size_t i = 0; i < _grid.size(); ++i) {
        for (size_t j = 0; j < _grid[i].size(); ++j) {
            const JigsawPipe* tile = _grid[i][j];
            if (tile == nullptr || tile->homeColumn != static_cast<int32_t>(i) ||
                tile->homeRow != static_cast<int32_t>(j)) {
                return false;
            }
        }
    }
    return true;
}

void JigsawPuzzle::playTakeSound() {
    GameSound::getInstance().playEffect(kTakeSound, false);
}

void JigsawPuzzle::select(JigsawPipe* tile, int32_t column, int32_t row, const cocos2d::Vec2& location,
                          const cocos2d::Vec2& point) {
    for (JigsawPipe* each : _tiles) {
        each->setLocalZOrder(1);
    }
    tile->setLocalZOrder(4);
    _selectedTile = tile;
    _selectedColumn = column;
    _selectedRow = row;
    tile->setColor(kSelectedTint);
    _touchStart = location;
    _dragging = false;
    _grabOffset = point - tile->getPosition();
}

void JigsawPuzzle::unselect() {
    if (_selectedTile != nullptr) {
        _selectedTile->setColor(cocos2d::Color3B::WHITE);
    }
    _selectedTile = nullptr;
}

bool JigsawPuzzle::touchBegan(const cocos2d::Vec2& location) {
    if (!takesInput()) {
        return false;
    }
    const cocos2d::Vec2 point = _picture->convertToNodeSpace(location);
    int32_t column = 0;
    int32_t row = 0;
    JigsawPipe* tile = cellAt(point, column, row) ? tileAt(column, row) : nullptr;
    if (tile == nullptr) {
        if (_selectedTile != nullptr) {
            playTakeSound();
            unselect();
        }
    } else if (_selectedTile == nullptr) {
        select(tile, column, row, location, point);
    } else if (tile == _selectedTile) {
        playTakeSound();
        unselect();
    } else {
        swapSelectedWith(column, row);
    }
    return true;
}

bool JigsawPuzzle::touchMoved(const cocos2d::Vec2& location) {
    if (_selectedTile == nullptr) {
        return true;
    }
    if (_dragging) {
        _selectedTile->setPosition(_picture->convertToNodeSpace(location) - _grabOffset);
    } else if (location.distanceSquared(_touchStart) >= kDragStartSquared) {
        _dragging = true;
    }
    return true;
}

bool JigsawPuzzle::touchEnded(const cocos2d::Vec2& /*location*/) {
    if (!takesInput() || _selectedTile == nullptr) {
        return false;
    }
    int32_t column = 0;
    int32_t row = 0;
    JigsawPipe* tile = cellAt(_selectedTile->getPosition(), column, row) ? tileAt(column, row) : nullptr;
    if (tile == nullptr || (tile == _selectedTile && _dragging)) {
        playTakeSound();
        _selectedTile->setPosition(cellPosition(_selectedColumn, _selectedRow));
        _dragging = false;
        unselect();
    } else if (tile != _selectedTile) {
        swapSelectedWith(column, row);
    }
    return true;
}

void JigsawPuzzle::swapSelectedWith(int32_t column, int32_t row) {
    JigsawPipe* selected = _selectedTile;
    JigsawPipe* other = tileAt(column, row);
    if (selected == nullptr || other == nullptr) {
        return;
    }
    setInputLocked(true);
    selected->setColor(cocos2d::Color3B::WHITE);
    playTakeSound();
    selected->stopAllActions();
    other->stopAllActions();
    _selectedTile = nullptr;
    const cocos2d::Vec2 home = cellPosition(_selectedColumn, _selectedRow);
    selected->setPosition(cellPosition(column, row));
    other->setLocalZOrder(2);
    other->runAction(cocos2d::Sequence::create(
        cocos2d::MoveTo::create(other->getPosition().distance(home) / kGlideSpeed, home),
        cocos2d::CallFunc::create([this] { checkSolved(); })));
    _grid[static_cast<size_t>(_selectedColumn)][static_cast<size_t>(_selectedRow)] = other;
    _grid[static_cast<size_t>(column)][static_cast<size_t>(row)] = selected;
}

void JigsawPuzzle::checkSolved() {
    if (isDecided()) {
        return;
    }
    if (!isSolved()) {
        setInputLocked(false);
        return;
    }
    setState(MinigameState::Finishing);
    stopAllActions();
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kWinDelay),
                                        cocos2d::CallFunc::create([this] { win(); })));
}

void JigsawPuzzle::stop() {
    MinigameBase::stop();
    for (JigsawPipe* tile : _tiles) {
        tile->stopAllActions();
    }
}

void JigsawPuzzle::preloadSounds() {
    GameSound::getInstance().preloadEffect(kTakeSound);
}

void JigsawPuzzle::unloadSounds() {
    GameSound::getInstance().uncacheEffect(kTakeSound);
}
