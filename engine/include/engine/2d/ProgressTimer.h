#pragma once

#include "engine/base/RefPtr.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"

namespace cocos2d {

// Draws a sprite's frame cut to a percentage: a filling bar. The sprite is only a picture here; it is
// never added to the scene and its position is ignored. The timer takes the sprite's content size,
// and its anchor is (0.5, 0.5); the bounding box always covers the whole sprite.
//
// Along each axis the shown part is 1 - rate + rate * percentage / 100 of the sprite, grown outwards
// from the midpoint: midpoint (0, 0) with rate (1, 0) grows from the left edge, rate (0, 1) from the
// bottom. Colour and opacity are the sprite's times the timer's displayed ones.
class ProgressTimer : public Node {
public:
    // Radial timers are not built: no screen uses one.
    enum class Type { BAR };

    // Null and one log line without a sprite.
    static ProgressTimer* create(Sprite* sprite);
    ~ProgressTimer() override;

    void setSprite(Sprite* sprite);
    Sprite* getSprite() const { return _sprite.get(); }
    void setType(Type type) { _type = type; }
    Type getType() const { return _type; }
    // Both components kept within 0..1.
    void setMidpoint(const Vec2& midpoint);
    const Vec2& getMidpoint() const { return _midpoint; }
    void setBarChangeRate(const Vec2& rate);
    const Vec2& getBarChangeRate() const { return _barChangeRate; }
    // Kept within 0..100 (a value that is not a number counts as 0). It starts at 0: nothing is drawn
    // until the owner sets one.
    void setPercentage(float percentage);
    float getPercentage() const { return _percentage; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    ProgressTimer() = default;
    bool initWithSprite(Sprite* sprite);

    RefPtr<Sprite> _sprite;
    Type _type = Type::BAR;
    // A bar growing from the left edge until set otherwise.
    Vec2 _midpoint = Vec2(0.0f, 0.0f);
    Vec2 _barChangeRate = Vec2(1.0f, 0.0f);
    float _percentage = 0.0f;
};

}  // namespace cocos2d
