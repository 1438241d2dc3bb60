#pragma once

#include "engine/base/Ref.h"
#include "engine/base/Vector.h"
#include "engine/scene/SpriteFrame.h"

namespace cocos2d {

// A list of sprite frames shown one after the other, each for the same delay, a number of times.
class Animation : public Ref {
public:
    static Animation* createWithSpriteFrames(const Vector<SpriteFrame*>& frames, float delayPerUnit,
                                             unsigned int loops = 1);

    const Vector<SpriteFrame*>& getFrames() const { return _frames; }
    float getDelayPerUnit() const { return _delayPerUnit; }
    unsigned int getLoops() const { return _loops; }
    // Frames x delay x loops.
    float getDuration() const;

protected:
    Animation() = default;

private:
    Vector<SpriteFrame*> _frames;
    float _delayPerUnit = 0.0f;
    unsigned int _loops = 1;
};

}  // namespace cocos2d
