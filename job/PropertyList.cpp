#include "PropertyList.h"

#include <cstdint>
#include <limits>

#include "CCore.h"
#include "NarrowText.h"

std::string normalisePropertyList(const std::string& propids) {
    return narrow_text::replaceAll(propids, "，", ",");
}

int columnNumber(const std::string& field, bool& clamped) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::size_t pos = field.find_first_not_of(" \t\n\v\f\r");
    if (pos == std::string::npos)
        pos = field.size();
    bool negative = false;
    if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
        negative = field[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    clamped = false;
    for (; pos < field.size() && field[pos] >= '0' && field[pos] <= '9'; ++pos) {
        // Past the range the value stays just beyond it, so any length of digits is safe.
        if (value <= kMax)
            value = value * 10 + (field[pos] - '0');
    }
    if (negative)
        value = -value;
    if (value > kMax || value < kMin) {
        clamped = true;
        return static_cast<int>(value > kMax ? kMax : kMin);
    }
    return static_cast<int>(value);
}

PropertyColumns propertyColumns(const std::string& list, CCore& core) {
    PropertyColumns columns;
    for (int index = 0;; ++index) {
        std::string field = core.getFg(list, ',', index);
        if (field.empty())
            break;
        bool clamped = false;
        columns.numbers.push_back(columnNumber(field, clamped));
        if (clamped)
            columns.clampedFields.push_back(field);
    }
    return columns;
}
