#include "CsvLine.h"

#include "ShellAccess.h"

namespace {

// No trail byte of a GBK or UTF-8 character lies below 0x40, so a byte search for these
// finds only whole characters.
constexpr std::string_view kNeedsQuotes{",\"\r\n", 4};

template <typename TextOf>
std::string joinFields(std::string line, const std::vector<int>& columns, TextOf textOf) {
    bool first = line.empty();
    for (int column : columns) {
        if (!first)
            line += ',';
        first = false;
        appendCsvField(line, textOf(column));
    }
    return line;
}

}  // namespace

void appendCsvField(std::string& line, std::string_view text) {
    if (text.find_first_of(kNeedsQuotes) == std::string_view::npos) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

std::string headingLine(const std::vector<int>& columns, bool fullName, ShellAccess& shell) {
    std::string line;
    if (fullName)
        line = kFullNameHeading;
    return joinFields(std::move(line), columns,
                      [&](int column) { return shell.columnHeading(column); });
}

std::string dataLine(const std::vector<int>& columns, bool fullName, const std::string& folder,
                     const std::string& name, ShellAccess& shell) {
    std::string line;
    if (fullName)
        appendCsvField(line, folder + name);
    return joinFields(std::move(line), columns,
                      [&](int column) { return shell.itemDetail(column); });
}
