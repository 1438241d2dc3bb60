#pragma once

// The tool that fixes a defect kind, as the tool bar tags its buttons.

#include "gameBoard/DefectKind.h"
#include "nodes/RestoreToolSelector.h"

namespace testing {

inline int toolFor(DefectKind kind) {
    return RestoreToolSelector::toolForDefect(static_cast<int>(kind));
}

}  // namespace testing
