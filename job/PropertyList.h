#pragma once

#include <string>
#include <vector>

class CCore;

// The property list of a job turned into detail column numbers.
struct PropertyColumns {
    std::vector<int> numbers;
    // Fields whose number lies outside the signed 32-bit range; they are clamped.
    std::vector<std::string> clampedFields;
};

// The list with every full-width comma "，" replaced by ",", matched by whole characters.
std::string normalisePropertyList(const std::string& propids);

// The C conversion rule: leading blanks, an optional sign, decimal digits; the rest is
// ignored and a field without digits gives 0. A number out of range is clamped and
// clamped set.
int columnNumber(const std::string& field, bool& clamped);

// The columns of a normalised list: its fields up to the first empty one.
PropertyColumns propertyColumns(const std::string& list, CCore& core);
