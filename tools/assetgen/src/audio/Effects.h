#pragma once

#include "audio/Synth.h"
#include "core/Recipe.h"

namespace assetgen::audio {

// One sound effect from its recipe entry: "kind" picks the voice, the other keys shape it.
// Loops ("loop": true) come out seamless and start at a zero crossing.
Signal makeEffect(const RecipeNode& entry, Rng& rng);

// One music track: a generative ambient piece from key, mode, tempo, chords and voices.
void makeMusic(const RecipeNode& entry, Rng& rng, Signal& left, Signal& right);

}  // namespace assetgen::audio
