#pragma once

#include <string>

#include "gameBoard/EraseableGameObject.h"

// A cut left by the knife. The needle draws its stitches over it, in small steps, instead of rubbing
// it away; the coarse 30-point grid still counts what is left.
class SewGameObject : public EraseableGameObject {
public:
    static constexpr int kCutCellSize = 30;
    static constexpr float kStitchSpacing = 2.0f;

    static SewGameObject* createWithSpriteFrameName(const std::string& frameName);

protected:
    SewGameObject();

    float stampSpacing() const override { return kStitchSpacing; }
    // A touch that did not move stitches nothing and marks nothing.
    bool stampsWhenStill() const override { return false; }
    // Stitches keep the stamp's own blend: they are drawn over the cut.
    bool stampsRubOut() const override { return false; }
};
