#pragma once

#include <cstdint>
#include <string>

struct Profile;

// The numbering of the minigames and their levels, their folders and level files, and the profile's
// record of the level each kind plays next. Kinds are MinigameKind values 0 to 4; levels count from 0
// and the player sees the number plus one.

// Levels of a kind: 8 for kinds 0 to 3, 90 for the jigsaw; 0 for a number that names no kind.
int32_t minigameLevelCount(int32_t kind);
// Whether level is one of the kind's levels.
bool isMinigameLevel(int32_t kind, int32_t level);
// The level after a win: one more, back to 0 past the kind's last level. A level that is not one of
// the kind's (a damaged save) is followed by 0 as well, so play always continues on a real level.
int32_t nextMinigameLevel(int32_t kind, int32_t level);

// "TwoMatch", "ColorMatch", "DropsPuzzle", "ConveyorPuzzle", "JigsawPuzzle"; "" for no kind.
const char* minigameName(int32_t kind);
// The game's folder of looks and sheets: "Minigames/" + its name.
std::string minigameFolder(int32_t kind);
// "minigamelevels/<Name>_<level>.xml" for kinds 0 to 3, "minigamelevels/JigsawPuzzle.xml" (every
// level in one file) for kind 4.
std::string minigameLevelPath(int32_t kind, int32_t level);

// The level the profile plays next in a kind. A list too short for the kind (an old or damaged save)
// or a stored number that is not one of the kind's levels gives level 0; the latter says so in one log
// line.
int32_t minigameLevelOf(const Profile& profile, int32_t kind);
// Stores the kind's next level, growing a short list to one entry per kind first.
void setMinigameLevel(Profile& profile, int32_t kind, int32_t level);
