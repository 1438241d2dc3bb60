#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/base/Types.h"
#include "engine/math/Vec2.h"

#include "minigames/JigsawPuzzleLevel.h"
#include "minigames/MinigameBase.h"

namespace cocos2d {
class Sprite;
}

class JigsawPipe;
class NodeFromJson;

// The jigsaw: a picture cut into square tiles dealt over the cells of a grid in random order. The
// player swaps tiles, by tapping two or by dragging one onto another, until every tile lies in its
// own cell; the game is then won. There is no way to lose.
//
// Its look is "Minigames/JigsawPuzzle": "background" behind everything, and "border_side" and
// "border_corner", four of each framing the picture. The picture (the level's image) is the parent
// of the tiles, the border and a dark plate under the tiles that shows where a tile is missing.
// Positions of cells, tiles and touches are in the picture's own space: origin at its bottom-left
// corner, y up.
class JigsawPuzzle : public MinigameBase {
public:
    // A gliding tile covers this many picture pixels per second.
    static constexpr float kGlideSpeed = 3000.0f;
    static constexpr float kWinDelay = 0.5f;
    // A touch becomes a drag once it has moved this far (squared, world pixels) from where it began.
    static constexpr float kDragStartSquared = 400.0f;
    static constexpr cocos2d::Color3B kSelectedTint{255, 200, 255};
    static constexpr cocos2d::Color3B kSilhouetteColor{80, 80, 80};
    // The board sits in the middle of the space above the host's bottom bar, not of the whole window.
    static constexpr float kBoardLift = 45.0f;

    // How tiles of `columns` x `rows` cells sit on a picture of `pixelsWide` x `pixelsHigh`: the side
    // of a cell (the level's tile size when it is positive and the grid fits the picture, else the
    // largest that fits) and the margins around the grid, each half of what is left over.
    struct Layout {
        int32_t cellSize = 0;
        int32_t marginX = 0;
        int32_t marginY = 0;
    };
    // False when not even a one-pixel tile fits.
    static bool layoutFor(int32_t pixelsWide, int32_t pixelsHigh, int32_t columns, int32_t rows,
                          int32_t pipeSize, Layout& layout);

    static JigsawPuzzle* create();
    ~JigsawPuzzle() override;

    // Builds the look, reads the level of currentMinigameLevel, cuts the picture and deals the tiles.
    // A level whose picture cannot be loaded or cut plays the default level instead (one log line);
    // false only when that fails too.
    bool init() override;
    // Nothing moves by the frame: tiles glide by actions.
    void update(float dt) override;

    // Selecting, swapping and dragging tiles; locations are in world coordinates.
    bool touchBegan(const cocos2d::Vec2& location) override;
    bool touchMoved(const cocos2d::Vec2& location) override;
    bool touchEnded(const cocos2d::Vec2& location) override;
    // Also stops a gliding tile, so that its arrival neither unlocks input nor decides the level
    // after the host has stopped the game.
    void stop() override;
    // Nothing calls these (the swap sound loads when it first plays).
    void preloadSounds() override;
    void unloadSounds() override;

    // The centre of cell (column, row) in the picture's space.
    cocos2d::Vec2 cellPosition(int32_t column, int32_t row) const;
    // The cell under a picture-space point; false when the point lies left of or below the grid, or
    // beyond its last column or row.
    bool cellAt(const cocos2d::Vec2& point, int32_t& column, int32_t& row) const;
    // The tile now lying in the cell; null outside the grid.
    JigsawPipe* tileAt(int32_t column, int32_t row) const;
    // Every cell holds its own tile.
    bool isSolved() const;

    const JigsawPuzzleLevel& getLevel() const { return _level; }
    int32_t getColumns() const { return _level.width; }
    int32_t getRows() const { return _level.height; }
    int32_t getCellSize() const { return _cellSize; }
    cocos2d::Vec2 getBoardOrigin() const;
    // The image the tiles were cut from (the level's, or the default's when that failed).
    const std::string& getPictureFile() const { return _pictureFile; }
    cocos2d::Sprite* getPicture() const { return _picture; }
    cocos2d::Sprite* getSilhouette() const { return _silhouette; }
    cocos2d::Node* getBackground() const { return _background; }
    JigsawPipe* getSelectedTile() const { return _selectedTile; }
    bool isDragging() const { return _dragging; }
    // The tiles in the order they were cut: column by column, row by row within a column.
    const std::vector<JigsawPipe*>& getTiles() const { return _tiles; }

private:
    JigsawPuzzle() = default;
    // The picture, its border, its tiles dealt over the grid and the silhouette; false (and nothing
    // left on the game) when the picture cannot be loaded or cut.
    bool buildBoard();
    void buildBorder();
    void buildTiles();
    void buildSilhouette();
    void select(JigsawPipe* tile, int32_t column, int32_t row, const cocos2d::Vec2& location,
                const cocos2d::Vec2& point);
    void unselect();
    void swapSelectedWith(int32_t column, int32_t row);
    void checkSolved();
    static void playTakeSound();

    cocos2d::Vec2 _touchStart;
    JigsawPuzzleLevel _level;
    std::string _pictureFile;
    cocos2d::Sprite* _picture = nullptr;
    // Columns of rows.
    std::vector<std::vector<JigsawPipe*>> _grid;
    std::vector<JigsawPipe*> _tiles;
    JigsawPipe* _selectedTile = nullptr;
    cocos2d::Vec2 _grabOffset;
    bool _dragging = false;
    int32_t _selectedColumn = 0;
    int32_t _selectedRow = 0;
    int32_t _cellSize = 0;
    int32_t _marginX = 0;
    int32_t _marginY = 0;
    int32_t _boardOriginX = 0;
    int32_t _boardOriginY = 0;
    std::unique_ptr<NodeFromJson> _loader;
    cocos2d::Sprite* _silhouette = nullptr;
    cocos2d::Node* _background = nullptr;
};
