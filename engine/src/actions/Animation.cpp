#include "engine/actions/Animation.h"

#include <new>

#include "actions/MakeAction.h"

namespace cocos2d {

Animation* Animation::createWithSpriteFrames(const Vector<SpriteFrame*>& frames, float delayPerUnit,
                                             unsigned int loops) {
    return actionprogress::makeAction(new (std::nothrow) Animation(), [&](Animation* a) {
        for (SpriteFrame* frame : frames) {
            if (frame) {
                a->_frames.pushBack(frame);
            }
        }
        a->_delayPerUnit = delayPerUnit;
        a->_loops = loops;
        return true;
    });
}

float Animation::getDuration() const {
    return static_cast<float>(_frames.size()) * _delayPerUnit * static_cast<float>(_loops);
}

}  // namespace cocos2d
