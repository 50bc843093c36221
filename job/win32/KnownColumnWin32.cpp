#include "../KnownColumn.h"

#include <algorithm>
#include <iterator>

#include "ColumnHeadings.h"

bool isKnownColumn(int number) {
    static constexpr int kHighest =
        std::max_element(
            std::begin(kWindowsColumnHeadings), std::end(kWindowsColumnHeadings),
            [](const ColumnHeading& a, const ColumnHeading& b) { return a.number < b.number; })
            ->number;
    return number >= 0 && number <= kHighest;
}
