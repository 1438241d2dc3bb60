#pragma once

#include <memory>
#include <string>

#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/HiddenObjectState.h"
#include "gameBoard/HitMask.h"

// One restorable item of a picture. Until a drop hits it, it looks like part of the picture and is
// hit-tested through a grey mask made from its half-size "_" frame. A hit reveals it with the defect
// the board chose; once rubbed away it fades out with its shadow.
class HiddenObject : public EraseableGameObject {
public:
    static constexpr int kPercentIntro = 70;
    static constexpr float kMaskScale = 2.0f;
    static constexpr uint8_t kMaskOpacity = 200;

    static HiddenObject* createWithSpriteFrameName(const std::string& frameName);
    ~HiddenObject() override;

    // vase.png -> vase_.png
    static std::string maskFrameName(const std::string& frameName);

    // Keeps the frame name and builds the hit mask from its mask frame (none when that is missing). The
    // item must already have its parent and position: the mask sprite is its hidden sibling.
    void setFrameName(const std::string& frameName);

    // A world point on an opaque part of the mask. An item whose mask frame is missing from the sheets
    // is hit anywhere on its box, so that its level can still be won.
    bool hitTest(const cocos2d::Vec2& worldPoint) const;
    // Revealed, then prepared with the defect's look.
    void reveal();
    void onRestored() override;
    // Draws the item with its defect's look into its render texture. Items are neither clipped nor
    // turned; the grid comes from the frame in the sheet.
    bool prepare() override;

    virtual cocos2d::Node* getShadow() const { return _shadow.get(); }
    virtual void setShadow(cocos2d::Node* shadow) { _shadow = shadow; }

    HiddenObjectState getState() const { return _state; }
    bool hasHitMask() const { return _hitMask != nullptr; }
    cocos2d::Sprite* getMaskSprite() const { return _maskSprite.get(); }
    const HitMask* getHitMask() const { return _hitMask.get(); }

protected:
    HiddenObject();

private:
    void dropHitMask();

    // Siblings in the level node, held so that the item can still reach them while its parent is
    // being destroyed (they are then already detached).
    cocos2d::RefPtr<cocos2d::Node> _shadow;
    cocos2d::RefPtr<cocos2d::Sprite> _maskSprite;
    HiddenObjectState _state = HiddenObjectState::Hidden;
    std::unique_ptr<HitMask> _hitMask;
    bool _hitByBox = false;
};
