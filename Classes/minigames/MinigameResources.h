#pragma once

#include <string>
#include <vector>

// What a minigame gives back to the engine's caches when it is destroyed without a restart: the
// effects its constructor preloaded, the frame lists of its sheets and its images. Names of frame lists
// and images are joined to the game's folder ("/UI_atlas.xml" gives "Minigames/<Game>/UI_atlas.xml");
// other images are paths used as they are (a jigsaw level's picture).
struct MinigameResources {
    std::string folder;
    std::vector<std::string> effects;
    std::vector<std::string> frameLists;
    std::vector<std::string> images;
    std::vector<std::string> otherImages;
};

// Uncaches the effects, removes the sprite frames of each list and each image from the director's
// texture cache, then logs "after clear\n%s\n" with the texture cache's description.
void releaseMinigameResources(const MinigameResources& resources);
