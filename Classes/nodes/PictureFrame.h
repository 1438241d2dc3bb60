#pragma once

#include <string>

#include "PictureKey.h"
#include "engine/math/Vec2.h"
#include "ui/FactoryNode.h"

// One entry of the gallery's picture list: the picture's thumbnail in a gilded frame styled after
// the country, its stars, the money earned on it, a lock while it cannot be played and a mark once
// it is finished. The node's name is the picture's path, which is how the gallery knows a tapped
// frame.
class PictureFrame : public FactoryNode {
public:
    static PictureFrame* create();
    ~PictureFrame() override;

    // Shows the frame style of the current country and hides the finished mark.
    void initWithJson(const rapidjson::Value& element) override;

    // Stores the key and builds the look from the picture's record (updateState).
    bool setPicture(const PictureKey& key);
    // True when the record held money or stars of the last play that the gallery has not shown yet;
    // both are cleared here, so they are reported once.
    bool updateState(const std::string& picturePath);
    // Stars tagged above best show unlit.
    void updateStars(int best);
    // Opens the lock of the picture unlocked last, once: the last unlocked picture is forgotten.
    void playUnlockAnimation();

    PictureKey getPictureKey() const { return _pictureKey; }
    bool isLocked() const { return _locked; }
    // Where the first star stands in world space; (0, 0) without a first star.
    cocos2d::Vec2 getStarWorldPosition() const;

    // The frame style of a country key; 0 for a country outside the table.
    static int frameStyleOf(const std::string& country);

protected:
    PictureFrame() = default;

private:
    bool _locked = false;
    PictureKey _pictureKey;
};
