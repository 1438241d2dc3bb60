#pragma once

#include "engine/base/Ref.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

// One touch from began to ended or cancelled: the same object throughout. Locations are design
// points, y up; "InView" locations are design points, y down from the top of the design area.
class Touch : public Ref {
public:
    static Touch* create(int id, const Vec2& locationInView);

    int getID() const { return _id; }
    Vec2 getLocation() const;
    Vec2 getPreviousLocation() const;
    Vec2 getStartLocation() const;
    Vec2 getLocationInView() const { return _point; }
    Vec2 getPreviousLocationInView() const { return _previousPoint; }
    Vec2 getStartLocationInView() const { return _startPoint; }
    Vec2 getDelta() const { return getLocation() - getPreviousLocation(); }

    // The first call (at began) sets the previous location equal to the location.
    void setTouchInfo(int id, float viewX, float viewY);

private:
    Touch() = default;

    int _id = 0;
    bool _started = false;
    Vec2 _point;
    Vec2 _previousPoint;
    Vec2 _startPoint;
};

}  // namespace cocos2d
