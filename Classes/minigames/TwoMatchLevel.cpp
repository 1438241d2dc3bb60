#include "minigames/TwoMatchLevel.h"

#include <algorithm>

#include "MinigameKind.h"
#include "minigames/MinigameLevelFile.h"
#include "minigames/MinigameLevels.h"

TwoMatchLevel TwoMatchLevel::load(int32_t level) {
    MinigameLevelFile file;
    file.load(minigameLevelPath(static_cast<int32_t>(MinigameKind::TwoMatch), level), "Level");
    return fromFile(level, file);
}

TwoMatchLevel TwoMatchLevel::fromFile(int32_t level, const MinigameLevelFile& file) {
    TwoMatchLevel record;
    record.level = level;
    if (!file.isLoaded()) {
        record.lockedRows = {0};
        return record;
    }
    // Numbers that name no row are ignored; a row named twice is one lock (a hostile file of a million
    // children still yields at most five).
    for (const MinigameLevelElement& child : file.root().children()) {
        const int32_t row = child.nameNumber();
        if (row >= 0 && row < kRows &&
            std::find(record.lockedRows.begin(), record.lockedRows.end(), row) == record.lockedRows.end()) {
            record.lockedRows.push_back(row);
        }
    }
    return record;
}
