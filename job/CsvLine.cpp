#include "CsvLine.h"

#include "ShellAccess.h"

namespace {

// No trail byte of a GBK or UTF-8 character lies below 0x40, so a byte search for these
// finds only whole characters.
constexpr std::string_view kNeedsQuotes{",\"\r\n", 4};

// A spreadsheet takes a field that starts with one of these as a formula.
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

// An optional sign, then digits and blanks with at most one decimal point.
bool isPlainNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else if (c != ' ')
            return false;
    }
    return digit;
}

// An apostrophe makes a spreadsheet show the field as text; numbers such as "-5" or a
// telephone number "+86 10 1234 5678" stay numbers.
bool mayOpenAsFormula(std::string_view text) {
    return !text.empty() && kFormulaStarts.find(text.front()) != std::string_view::npos &&
           !isPlainNumber(text);
}

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
    std::string_view guard = mayOpenAsFormula(text) ? "'" : "";
    if (text.find_first_of(kNeedsQuotes) == std::string_view::npos) {
        line += guard;
        line += text;
        return;
    }
    line += '"';
    line += guard;
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
