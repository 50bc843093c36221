#pragma once

#include <optional>
#include <string>
#include <vector>

// The first sheet of a workbook as a test reads it back through the project's own zip
// reader: where a job's workbook is checked on both systems without another program.
struct WorkbookSheet {
    std::string name;  // as xl/workbook.xml names it
    // The texts of the cells by row and column; a cell not written is empty.
    std::vector<std::vector<std::string>> rows;
    // Every cell written is an inline string, none a number, a shared string or a formula.
    bool allText = true;
    std::string xml;  // the sheet's part, for what the rows do not show
};

// A UTF-8 literal as a workbook holds it, whatever the narrow literals of the build are.
inline std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// Nothing when the file is no workbook the reader can take apart.
std::optional<WorkbookSheet> readWorkbookSheet(const std::string& path);
