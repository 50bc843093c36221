#pragma once

#include <string>
#include <vector>

#include "ShellAccess.h"

// The heading text of the full-name column, in the narrow code page and in UTF-8 (the
// narrow literals of the Windows build are GBK).
inline constexpr const char* kFullNameHeading = "全文件名";
inline constexpr const char8_t* kFullNameHeadingUtf8 = u8"全文件名";

// The fields of one output row, before an output gives them its own form (a CSV line, a
// workbook row), in the form the output takes them.

// The heading row: the full-name heading when asked, then the heading of every column.
std::vector<std::string> headingFields(const std::vector<int>& columns, bool fullName,
                                       ShellAccess& shell, TextForm form);

// The current item's row: its full path (folder + name, both narrow) when asked, then its
// detail for every column. Raises ShellError from the shell layer.
std::vector<std::string> dataFields(const std::vector<int>& columns, bool fullName,
                                    const std::string& folder, const std::string& name,
                                    ShellAccess& shell, TextForm form);
