#include "gameBoard/StoryLevel.h"

#include "Settings.h"

int32_t currentStoryLevel() {
    return Settings::getInstance().getCurrentUser().storyLevel;
}

bool isIntroLevel() {
    return currentStoryLevel() < 0;
}
