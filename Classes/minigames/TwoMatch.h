#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/math/Vec2.h"

#include "minigames/MinigameBase.h"
#include "minigames/TwoMatchGrid.h"
#include "minigames/TwoMatchLevel.h"

class NodeFromJson;
class TwoMatchPipe;

// The safe door, minigame kind 0: a 7 x 5 grid of tiles of three kinds and an order of two kinds.
// Removing two neighbouring tiles of the order's kinds draws the next order; emptied rows close up
// and new rows come in from the top. A locked row whose tiles are all gone trips its tumbler; when no
// locked tumbler is left the door opens and the level is won. When locked tumblers remain and no pair
// on the grid fits the order, the level is lost.
class TwoMatch : public MinigameBase {
public:
    static constexpr int32_t kColumns = TwoMatchGrid::kColumns;
    static constexpr int32_t kRows = TwoMatchGrid::kRows;
    static constexpr float kCellSpacing = 104.0f;
    static constexpr float kOrderScale = 0.75f;
    // Tag of the pending check of the newest order.
    static constexpr int kOrderCheckTag = 1;

    static TwoMatch* create();
    ~TwoMatch() override;

    bool init() override;
    bool touchBegan(const cocos2d::Vec2& location) override;
    bool touchMoved(const cocos2d::Vec2& location) override;
    bool touchEnded(const cocos2d::Vec2& location) override;
    void preloadSounds() override;
    void unloadSounds() override;

    // The tile at a cell, or null.
    TwoMatchPipe* getTile(int32_t column, int32_t row) const;
    // The first tile, scanning rows from the bottom and columns from the left, whose picture holds the
    // world point; null on a gap or off the door.
    TwoMatchPipe* tileAt(const cocos2d::Vec2& worldPoint) const;
    // The centre of a cell in the tile layer.
    cocos2d::Vec2 cellCentre(int32_t column, int32_t row) const;
    // The kinds now on the grid.
    TwoMatchGrid getKindGrid() const;
    std::pair<int32_t, int32_t> getOrder() const { return {_order[0], _order[1]}; }
    // 1 while the row's tumbler is locked.
    int32_t getTumbler(int32_t row) const;
    TwoMatchPipe* getSelectedTile() const { return _selectedTile; }
    // The kinds orders are drawn from: the grid's kinds minus the current order.
    const std::vector<int32_t>& getKindBag() const { return _kindBag; }
    const TwoMatchLevel& getLevel() const { return _level; }

    // Replaces every tile and the order by the given ones and rebuilds the kind bag from them, then
    // decides the door again 0.3 s later as after a new order. For tests and tools that need a known
    // door; play never calls it.
    void layOut(const TwoMatchGrid& kinds, int32_t order1, int32_t order2);

private:
    TwoMatch();

    // A picture of the description's element of that name or of its sheet frame, whichever is asked
    // first, else the other; null when neither exists.
    cocos2d::Node* makePicture(const std::string& name, bool fromDescription);
    // Null when the tile has no picture.
    TwoMatchPipe* makeTile(int32_t kind, bool fromDescription);
    // A new tile into the grid and the tile layer; a tile without a picture loses the door (logged)
    // and gives false.
    bool addTile(int32_t kind, bool fromDescription, int32_t column, int32_t row,
                 const cocos2d::Vec2& position);
    void placeTile(TwoMatchPipe* tile, int32_t column, int32_t row, const cocos2d::Vec2& position);
    cocos2d::Node* makeOrderSprite(int32_t kind);
    int32_t drawFromBag();
    void select(TwoMatchPipe* tile);
    void deselect();

    bool createGrid();
    bool isValidPair(const TwoMatchPipe* tile) const;
    void matchMade(TwoMatchPipe* tile);
    void removePair();
    void collapseRows();
    bool addRows(int32_t count);
    void showNewOrder();
    void scheduleOrderCheck();
    void checkTwoMatchEnd();
    bool hasValidPair() const;
    void openDoor();
    // Fades out the closed door and what is mounted on it; the open door fades in.
    void swingDoorOpen();

    cocos2d::Node* _topPlate = nullptr;
    cocos2d::Node* _closedHinge = nullptr;
    cocos2d::Node* _openHinge = nullptr;
    cocos2d::Node* _painting = nullptr;
    cocos2d::Node* _ui = nullptr;
    cocos2d::Node* _orderHolder = nullptr;
    cocos2d::Node* _wrongIndicator = nullptr;
    cocos2d::Node* _correctIndicator = nullptr;
    cocos2d::Node* _gridFrame = nullptr;
    cocos2d::Node* _handle = nullptr;
    std::vector<cocos2d::Node*> _pintles;
    std::array<cocos2d::Node*, 2> _orderSprites{};
    float _orderScale = kOrderScale;
    cocos2d::Vec2 _gridOrigin{-265.0f, -200.0f};
    TwoMatchPipe* _selectedTile = nullptr;
    TwoMatchPipe* _matchedTile = nullptr;
    std::array<int32_t, 2> _order{};
    std::array<std::array<TwoMatchPipe*, kRows>, kColumns> _grid{};
    std::vector<int32_t> _kindBag;
    cocos2d::Vec2 _lastTouch;
    bool _pressed = false;
    std::vector<int32_t> _tumblers;
    TwoMatchLevel _level;
    std::unique_ptr<NodeFromJson> _loader;
    cocos2d::Node* _tileLayer = nullptr;
};
