#pragma once

#include <cstdint>
#include <string>

#include "engine/math/Vec2.h"
#include "ui/FactoryNode.h"

// The panel shown when a picture's level ends: the play's statistics count up and fly into the reward
// badge, the reward counts up, the picture's title, author and a fun fact stand beside them, and the
// stars the level earned fly in from the HUD. It hands the picture's evidence item to the profile.
// Built from the element "LevelStatistic" of "ui/LevelStatistic"; every described part is optional.
class LevelStatistic : public FactoryNode {
public:
    static constexpr float kCountSeconds = 1.0f;
    static constexpr float kFlyAfter = 3.0f;
    static constexpr float kBadgeAfter = 3.2f;
    static constexpr float kFirstStarDelay = 0.2f;
    static constexpr float kStarStagger = 0.13f;

    static LevelStatistic* create();
    ~LevelStatistic() override;

    void initWithJson(const rapidjson::Value& element) override;

    // Fills the panel for the picture and the reward the level ended with.
    void show(const std::string& pictureName, int32_t reward);
    // Flies the HUD stars the level screen moved in (children tagged 1 to 3) into their slots.
    void moveStars();
    void animateCounter(cocos2d::Node* line, int32_t value, const cocos2d::Vec2& target);

    const std::string& getPictureName() const { return _pictureName; }
    // "m:ss" of whole seconds.
    static std::string formatTime(float seconds);

protected:
    LevelStatistic() = default;

private:
    void buildFunFacts();
    void landStar(cocos2d::Node* star, cocos2d::Node* slot);

    std::string _pictureName;
};
