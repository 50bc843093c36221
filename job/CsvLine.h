#pragma once

#include <string>
#include <string_view>
#include <vector>

class ShellAccess;

// The heading text of the full-name column.
inline constexpr const char* kFullNameHeading = "全文件名";

// Appends one CSV field: as it is, or, when it holds a comma, a quote, CR, LF, ";" or a
// tab, in double quotes with its quotes doubled, so a detail text never adds a column. A
// field that starts with "=", "+", "-", "@", a tab or a CR and is no plain number gets a
// leading apostrophe, so a spreadsheet shows it as text instead of running it; so does
// every piece of it that a split at ";" or a tab would make, right after that separator.
void appendCsvField(std::string& line, std::string_view text);

// The heading line, without line end: the full-name heading when asked, then the heading
// of every column, separated by ",".
std::string headingLine(const std::vector<int>& columns, bool fullName, ShellAccess& shell);

// The data line of the current item, without line end: its full path (folder + name) when
// asked, then its detail for every column. Raises ShellError from the shell layer.
std::string dataLine(const std::vector<int>& columns, bool fullName, const std::string& folder,
                     const std::string& name, ShellAccess& shell);
