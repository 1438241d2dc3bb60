#include "minigames/ColorMatchGrid.h"

#include <algorithm>

ColorMatchGrid::ColorMatchGrid() {
    clear();
}

void ColorMatchGrid::clear() {
    _colours.fill(kEmpty);
    _freeCells.clear();
    for (int32_t column = 0; column < kSide; ++column) {
        for (int32_t row = 0; row < kSide; ++row) {
            _freeCells.push_back(Cell{column, row});
        }
    }
    _topColour = kEmpty;
}

bool ColorMatchGrid::isCell(const Cell& cell) {
    return cell.column >= 0 && cell.column < kSide && cell.row >= 0 && cell.row < kSide;
}

int32_t ColorMatchGrid::colourAt(const Cell& cell) const {
    return isCell(cell) ? _colours[indexOf(cell)] : kEmpty;
}

std::optional<ColorMatchGrid::Cell> ColorMatchGrid::place(int32_t colour, int randomValue) {
    if (_freeCells.empty()) {
        return std::nullopt;
    }
    const size_t entry =
        static_cast<size_t>(randomValue < 0 ? -(randomValue + 1) : randomValue) % _freeCells.size();
    const Cell cell = _freeCells[entry];
    _freeCells.erase(_freeCells.begin() + static_cast<std::ptrdiff_t>(entry));
    _colours[indexOf(cell)] = colour;
    _topColour = std::max(_topColour, colour);
    return cell;
}

bool ColorMatchGrid::put(const Cell& cell, int32_t colour) {
    if (!isCell(cell) || _colours[indexOf(cell)] != kEmpty) {
        return false;
    }
    occupy(cell, colour);
    _topColour = std::max(_topColour, colour);
    return true;
}

void ColorMatchGrid::take(const Cell& cell) {
    _colours[indexOf(cell)] = kEmpty;
    _freeCells.push_back(cell);
}

void ColorMatchGrid::occupy(const Cell& cell, int32_t colour) {
    _colours[indexOf(cell)] = colour;
    const auto found = std::find(_freeCells.begin(), _freeCells.end(), cell);
    if (found != _freeCells.end()) {
        _freeCells.erase(found);
    }
}

ColorMatchGrid::Cell ColorMatchGrid::visited(ColorMatchDirection direction, int32_t line, int32_t step) {
    switch (direction) {
        case ColorMatchDirection::Down:
            return Cell{line, step};
        case ColorMatchDirection::Up:
            return Cell{line, kSide - 1 - step};
        case ColorMatchDirection::Left:
            return Cell{step, line};
        case ColorMatchDirection::Right:
            return Cell{kSide - 1 - step, line};
    }
    return Cell{line, step};
}

ColorMatchGrid::MoveResult ColorMatchGrid::move(ColorMatchDirection direction) {
    MoveResult result;
    for (int32_t line = 0; line < kSide; ++line) {
        for (int32_t step = 0; step < kSide; ++step) {
            const Cell standing = visited(direction, line, step);
            const int32_t colour = colourAt(standing);
            if (colour == kEmpty) {
                continue;
            }
            // Only the nearest pipe behind is compared: 1, 2, 1 in a line does not merge.
            std::optional<Cell> partner;
            for (int32_t behind = step + 1; behind < kSide && !partner; ++behind) {
                const Cell cell = visited(direction, line, behind);
                if (colourAt(cell) != kEmpty) {
                    partner = cell;
                }
            }
            // Pipes handled earlier in this move already stand where they went.
            int32_t reach = step;
            while (reach > 0 && colourAt(visited(direction, line, reach - 1)) == kEmpty) {
                --reach;
            }
            const Cell destination = visited(direction, line, reach);
            if (partner && colourAt(*partner) == colour && colour != kStone) {
                take(*partner);
                if (!(destination == standing)) {
                    take(standing);
                    occupy(destination, colour);
                }
                // The merged pipe replaces the standing one in its cell: the cell is freed and taken
                // again, which leaves the free list as it was. Later pipes of the line never look at
                // it, since partners are searched behind, so the new pipe does not merge again.
                const int32_t merged = colour + 1;
                take(destination);
                occupy(destination, merged);
                _topColour = std::max(_topColour, merged);
                result.steps.push_back(Step{Step::Kind::Merge, standing, *partner, destination, merged});
                result.changed = true;
                result.merged = true;
            } else if (!(destination == standing)) {
                take(standing);
                occupy(destination, colour);
                result.steps.push_back(Step{Step::Kind::Slide, standing, standing, destination, colour});
                result.changed = true;
            }
        }
    }
    return result;
}

bool ColorMatchGrid::isStuck() const {
    for (int32_t column = 0; column < kSide; ++column) {
        for (int32_t row = 0; row < kSide; ++row) {
            const int32_t colour = colourAt(Cell{column, row});
            if (colour == kEmpty) {
                return false;
            }
            if (colour == kStone) {
                continue;
            }
            if (colourAt(Cell{column + 1, row}) == colour || colourAt(Cell{column, row + 1}) == colour) {
                return false;
            }
        }
    }
    return true;
}
