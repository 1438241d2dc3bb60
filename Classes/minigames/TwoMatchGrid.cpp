#include "minigames/TwoMatchGrid.h"

#include <cstdlib>

TwoMatchGrid::TwoMatchGrid() {
    for (auto& column : _kinds) {
        column.fill(kEmpty);
    }
}

bool TwoMatchGrid::isInside(int32_t column, int32_t row) {
    return column >= 0 && column < kColumns && row >= 0 && row < kRows;
}

int32_t TwoMatchGrid::kind(int32_t column, int32_t row) const {
    return isInside(column, row) ? _kinds[static_cast<size_t>(column)][static_cast<size_t>(row)] : kEmpty;
}

void TwoMatchGrid::set(int32_t column, int32_t row, int32_t kind) {
    if (isInside(column, row)) {
        _kinds[static_cast<size_t>(column)][static_cast<size_t>(row)] = kind;
    }
}

bool TwoMatchGrid::isRowEmpty(int32_t row) const {
    for (int32_t column = 0; column < kColumns; ++column) {
        if (kind(column, row) != kEmpty) {
            return false;
        }
    }
    return true;
}

int32_t TwoMatchGrid::emptyRowCount() const {
    int32_t count = 0;
    for (int32_t row = 0; row < kRows; ++row) {
        count += isRowEmpty(row) ? 1 : 0;
    }
    return count;
}

bool TwoMatchGrid::areNeighbours(int32_t column1, int32_t row1, int32_t column2, int32_t row2) {
    // In 64 bits: the difference of two far-apart cells must not overflow.
    const auto apart = [](int32_t a, int32_t b) { return std::llabs(int64_t{a} - int64_t{b}); };
    return (column1 == column2 && apart(row1, row2) == 1) || (row1 == row2 && apart(column1, column2) == 1);
}

bool TwoMatchGrid::isOrderPair(int32_t kind1, int32_t kind2, int32_t order1, int32_t order2) {
    return (kind1 == order1 && kind2 == order2) || (kind1 == order2 && kind2 == order1);
}

bool TwoMatchGrid::isValidPair(int32_t column1, int32_t row1, int32_t column2, int32_t row2, int32_t order1,
                               int32_t order2) const {
    const int32_t kind1 = kind(column1, row1);
    const int32_t kind2 = kind(column2, row2);
    return kind1 != kEmpty && kind2 != kEmpty && areNeighbours(column1, row1, column2, row2) &&
           isOrderPair(kind1, kind2, order1, order2);
}

bool TwoMatchGrid::hasValidPair(int32_t order1, int32_t order2) const {
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            if (isValidPair(column, row, column + 1, row, order1, order2) ||
                isValidPair(column, row, column, row + 1, order1, order2)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<TwoMatchGrid::RowMove> TwoMatchGrid::collapse() {
    std::vector<RowMove> moves;
    for (int32_t row = 0; row < kRows; ++row) {
        if (!isRowEmpty(row)) {
            continue;
        }
        for (int32_t above = row + 1; above < kRows; ++above) {
            if (isRowEmpty(above)) {
                continue;
            }
            for (int32_t column = 0; column < kColumns; ++column) {
                set(column, row, kind(column, above));
                set(column, above, kEmpty);
            }
            moves.push_back(RowMove{above, row});
            break;
        }
    }
    return moves;
}
