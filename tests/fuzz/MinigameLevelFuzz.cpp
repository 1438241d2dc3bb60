// Any bytes as the level file of each of the five minigames: each game's reader gives a playable level
// (the file's or its built-in one), and on a file that parses the game builds its board from it and
// runs its first frames.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"

#include "FuzzSupport.h"
#include "MinigameKind.h"
#include "minigames/ColorMatch.h"
#include "minigames/ColorMatchLevel.h"
#include "minigames/ConveyorPuzzle.h"
#include "minigames/ConveyorPuzzleLevel.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/DropsPuzzle.h"
#include "minigames/DropsPuzzleLevel.h"
#include "minigames/JigsawPuzzle.h"
#include "minigames/JigsawPuzzleLevel.h"
#include "minigames/MinigameLevelFile.h"
#include "minigames/MinigameLevels.h"
#include "minigames/TwoMatch.h"
#include "minigames/TwoMatchLevel.h"

namespace {

// Builds the game on the level file only when that file parses with the game's root element: on any
// other file the game plays its built-in level, which the game tests cover, and building a game
// (its sheets decoded anew each time) is what costs the fuzzer its speed.
template <typename Game>
void play(MinigameKind kind, int32_t level, const std::string& text, const char* rootName) {
    MinigameLevelFile file;
    if (!file.loadText("fuzz", text, rootName)) {
        return;
    }
    currentMinigameKind = static_cast<int32_t>(kind);
    currentMinigameLevel = level;
    cocos2d::RefPtr<Game> game(Game::create());
    if (game) {
        for (int i = 0; i < 3; ++i) {
            game->update(1.0f / 60.0f);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (int32_t kind = 0; kind <= 4; ++kind) {
        fuzzsupport::writeResource(minigameLevelPath(kind, 0), data, size);
    }
    TwoMatchLevel::load(0);
    ColorMatchLevel colours(0);
    DropsPuzzleLevel::read(0);
    ConveyorPuzzleLevel::load(0);
    for (int32_t number : {0, 1, 89}) {
        JigsawPuzzleLevel::read(number);
    }

    // One game per input, chosen by its length, so that each stays quick.
    const std::string text(reinterpret_cast<const char*>(data), size);
    switch (size % 5) {
        case 0: play<TwoMatch>(MinigameKind::TwoMatch, 0, text, "Level"); break;
        case 1: play<ColorMatch>(MinigameKind::ColorMatch, 0, text, "Level"); break;
        case 2: play<DropsPuzzle>(MinigameKind::DropsPuzzle, 0, text, "Level"); break;
        case 3: play<ConveyorPuzzle>(MinigameKind::ConveyorPuzzle, 0, text, "Level"); break;
        default: play<JigsawPuzzle>(MinigameKind::JigsawPuzzle, 0, text, "Levels"); break;
    }
    fuzzsupport::stepFrames(1);
    return 0;
}
