#include "gameBoard/BoardSound.h"

#include "engine/actions/DelayTime.h"

// The game's audio service is not part of the build yet: until it is, the board plays silently and
// these calls only keep their place.
namespace BoardSound {

int playEffect(const std::string&, bool) {
    return kInvalidId;
}

void stopEffect(int, bool) {}

void setVolume(int, float) {}

float getSoundVolume() {
    return 1.0f;
}

void preloadEffect(const std::string&) {}

cocos2d::FiniteTimeAction* fade(int, float seconds, float, bool) {
    return cocos2d::DelayTime::create(seconds);
}

}  // namespace BoardSound
