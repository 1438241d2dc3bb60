#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/math/Vec2.h"

#include "minigames/ColorMatchDirection.h"
#include "minigames/ColorMatchGrid.h"
#include "minigames/ColorMatchLevel.h"
#include "minigames/MinigameBase.h"

class ColorMatchPipe;
class NodeFromJson;

// The colour merging board: 4 x 4 cells of coloured pipes. A swipe slides every pipe towards one side
// and merges two pipes of one colour into one of the next colour; after every move that changed the
// board a pipe of colour 0 appears in a random free cell. The level is won when, at the end of a move,
// the highest colour on the board so far has reached the level's target colour; it is lost when a new
// pipe fills the board and no swipe could change it any more. A column of smears beside the board
// shows the colours up to the target.
class ColorMatch : public MinigameBase {
public:
    static constexpr float kCellSpacing = 165.0f;
    static constexpr float kBoardOriginX = -247.0f;
    static constexpr float kBoardOriginY = -276.0f;
    // How far the whole game is raised above the window's centre.
    static constexpr float kBoardLift = 60.0f;
    static constexpr int32_t kSmears = 10;
    static constexpr float kSlideSeconds = 0.2f;
    static constexpr float kGrowSeconds = 0.25f;

    static ColorMatch* create();
    ~ColorMatch() override;

    bool init() override;
    bool touchBegan(const cocos2d::Vec2& location) override;
    bool touchEnded(const cocos2d::Vec2& location) override;
    void preloadSounds() override;
    void unloadSounds() override;

    // The centre of a cell in the game node's space.
    cocos2d::Vec2 cellPosition(int32_t column, int32_t row) const;
    const ColorMatchGrid& getGrid() const { return _grid; }
    // The pipe standing for the cell's colour, or null.
    ColorMatchPipe* pipeAt(int32_t column, int32_t row) const;
    const ColorMatchLevel& getLevel() const { return _level; }
    int32_t getTargetColour() const { return _targetColour; }
    // The smear of a colour, or null when the description lacks it.
    cocos2d::Node* getSmear(int32_t colour) const;

private:
    using Cell = ColorMatchGrid::Cell;

    ColorMatch();

    // Builds the description's element of that name and adds it to the game; null when it is missing.
    cocos2d::Node* addDescribed(const std::string& name);
    void setupColorScale(int32_t maxColor);
    void setupBoard(const std::vector<int32_t>& startColors);
    ColorMatchPipe* newPipe(const Cell& cell, int32_t colour, bool fromDescription);
    void placePipe(int32_t colour);
    void spawnPipe(int32_t colour);
    void moveUp();
    void moveDown();
    void moveLeft();
    void moveRight();
    void move(ColorMatchDirection direction);
    void slidePipe(const Cell& from, const Cell& to);
    void mergePipes(const Cell& partner, const Cell& standing, const Cell& destination, int32_t colour);
    void mergeComplete(const Cell& destination, ColorMatchPipe* moving, ColorMatchPipe* standing,
                       int32_t colour);
    void occupyCell(const Cell& cell, ColorMatchPipe* pipe);
    void finishMove(bool merged);
    void afterMove();
    ColorMatchPipe*& pipeSlot(const Cell& cell) { return _board[ColorMatchGrid::indexOf(cell)]; }

    cocos2d::Node* _background = nullptr;
    cocos2d::Node* _boardFrame = nullptr;
    cocos2d::Node* _ui = nullptr;
    cocos2d::Vec2 _boardOrigin;
    // Children of the game node, one per occupied cell, index column x 4 + row.
    std::array<ColorMatchPipe*, ColorMatchGrid::kCells> _board{};
    ColorMatchGrid _grid;
    std::array<cocos2d::Node*, kSmears> _smears{};
    float _scaleStep = 0.0f;
    float _scaleCentreY = 0.0f;
    cocos2d::Vec2 _touchPoint;
    cocos2d::Vec2 _touchStart;
    ColorMatchLevel _level;
    int32_t _targetColour = 0;
    std::unique_ptr<NodeFromJson> _loader;
};
