#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends one CSV field: as it is, or, when it holds a comma, a quote, CR, LF, ";" or a
// tab, in double quotes with its quotes doubled, so a detail text never adds a column. A
// field that starts with "=", "+", "-", "@", a tab or a CR and is no plain number gets a
// leading apostrophe, so a spreadsheet shows it as text instead of running it; so does
// every piece of it that a split at ";" or a tab would make, right after that separator.
void appendCsvField(std::string& line, std::string_view text);

// The fields joined by "," as one CSV line, without line end.
std::string csvLine(const std::vector<std::string>& fields);
