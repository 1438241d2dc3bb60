#pragma once

#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/renderer/RenderTexture.h"
#include "gameBoard/CellGrid.h"
#include "gameBoard/GameObjectBase.h"
#include "gameBoard/StrokeSpan.h"

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
    // One stroke: the stretch of the touch's last move (from its previous location to its location)
    // that lies on the object. True when this stroke left no more than allowed opaque cells; false
    // also when the move passed beside the object, which it then leaves alone.
    virtual bool eraseStroke(cocos2d::Touch* touch);
    // The stretch of the straight move between two world points that lies on the object's box, edges
    // included; false when the move passes beside it. A move that did not move is its one point.
    bool findCrossing(const cocos2d::Vec2& fromWorld, const cocos2d::Vec2& toWorld, StrokeSpan& span) const;
    // Rubs the stretch `span` of the move between two world points, as a slow stroke along it would:
    // its stamps go into the render texture in one pass and the cells the brush sweeps along it get
    // clean. True when this left no more than allowed opaque cells.
    bool eraseAlong(const cocos2d::Vec2& fromWorld, const cocos2d::Vec2& toWorld, const StrokeSpan& span);
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
    // any speed; on `from` too when `stampStart` (a stroke that begins where an earlier one did not
    // end). A touch that did not move gets one stamp when `stampWhenStill`, none otherwise.
    static std::vector<cocos2d::Vec2> stampPoints(const cocos2d::Vec2& from, const cocos2d::Vec2& to,
                                                  float spacing, bool stampStart, bool stampWhenStill);
    // How this object's strokes stamp: the points between stamps, whether a touch that did not move
    // stamps, and whether the stamps rub the picture away (else they are drawn over it).
    virtual float stampSpacing() const { return kStampSpacing; }
    virtual bool stampsWhenStill() const { return true; }
    virtual bool stampsRubOut() const { return true; }
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
