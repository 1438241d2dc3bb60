#pragma once

#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/renderer/RenderTexture.h"
#include "gameBoard/CellGrid.h"
#include "gameBoard/GameObjectBase.h"

namespace cocos2d {
class Touch;
}

// Something the player rubs away: its picture is drawn once into a render texture of its own, each
// stroke stamps the brush into it with a subtractive blend, and a grid of cells built from the
// picture's alpha counts how much is left. It is restored when no more than `allowed` opaque cells
// remain.
class EraseableGameObject : public GameObjectBase {
public:
    static constexpr int kCellSize = 10;
    static constexpr int kPercentUnprepared = 85;
    static constexpr int kPercentPrepared = 60;
    static constexpr float kStampSpacing = 5.0f;

    static EraseableGameObject* createWithSpriteFrameName(const std::string& frameName);
    ~EraseableGameObject() override;

    void setBrushName(const std::string& name) { _brushName = name; }
    void setMaskFrame(const std::string& name) { _maskFrame = name; }
    void setShaderName(const std::string& name) { _shaderName = name; }
    const std::string& getBrushName() const { return _brushName; }
    const std::string& getMaskFrame() const { return _maskFrame; }
    const std::string& getShaderName() const { return _shaderName; }

    // Opaque cells; the first call on an unread object reads its frame back from the sheet.
    int getArea();
    int getAllowed() const { return _grid.getAllowed(); }
    int getPercent() const { return _percent; }
    const CellGrid& getGrid() const { return _grid; }
    cocos2d::RenderTexture* getRenderTexture() const { return _renderTexture.get(); }
    cocos2d::Sprite* getBrush() const { return _brush.get(); }

    virtual void onRestored() {}
    // One stroke from the touch's previous location to its location: true when this stroke left no
    // more than allowed opaque cells.
    virtual bool eraseStroke(cocos2d::Touch* touch);
    // Player-made damage: clips the object to the level's background, draws it into its render texture
    // and builds the grid from that drawing. The object must be a child of the level node. False, with
    // nothing made, when less than a point of it lies on the background or the texture cannot be made.
    virtual bool prepare();

    // Reads the object's frame back from its sheet and builds the grid; false when the framebuffer was
    // incomplete (the grid then counts nothing as opaque).
    bool readPixels();

    // "ui/Game/" + name + ".png"
    static std::string brushPath(const std::string& name);

    // Render-texture passes made by strokes so far (for benchmarks).
    static size_t getStrokePassCount() { return _strokePasses; }

protected:
    EraseableGameObject() = default;

    // Where a stroke from `from` to `to` puts its stamps: every `spacing` points after `from` and on
    // `to` itself, so that strokes joined end to start stamp their joints once and are spaced alike at
    // any speed. A touch that did not move gets one stamp when `stampWhenStill`, none otherwise.
    static std::vector<cocos2d::Vec2> stampPoints(const cocos2d::Vec2& from, const cocos2d::Vec2& to,
                                                  float spacing, bool stampWhenStill);
    // Draws the stroke's stamps of the brush into the render texture in one pass and cleans the cells
    // under each of them: what counts is what was wiped. True when this stroke left no more than
    // allowed opaque cells.
    bool stampStroke(const cocos2d::Vec2& from, const cocos2d::Vec2& to, float spacing, bool stampWhenStill,
                     const cocos2d::BlendFunc* blend);
    bool markAround(const cocos2d::Vec2& point);
    bool loadShader();
    bool makeBrush();
    // The object shows its render texture upright.
    void showRenderTexture(int width, int height);

    std::string _shaderName;
    std::string _brushName = "eraser_mask";
    std::string _maskFrame;
    cocos2d::RefPtr<cocos2d::RenderTexture> _renderTexture;
    cocos2d::RefPtr<cocos2d::Sprite> _brush;
    int _cellSize = kCellSize;
    int _percent = kPercentUnprepared;
    CellGrid _grid;

private:
    static size_t _strokePasses;
};
