#pragma once

#include <string>

namespace cocos2d {
class FiniteTimeAction;
}

// The sounds of the board, its objects and its tools, in one place: each call goes to the game's
// audio service.
namespace BoardSound {

constexpr int kInvalidId = -1;

int playEffect(const std::string& name, bool loop = false);
void stopEffect(int audioId, bool fade);
void setVolume(int audioId, float volume);
float getSoundVolume();
void preloadEffect(const std::string& name);
// Fades one playing sound to `volume` over `seconds`, pausing it at the end when asked.
cocos2d::FiniteTimeAction* fade(int audioId, float seconds, float volume, bool pauseAtEnd);

}  // namespace BoardSound
