#include "CsvLine.h"

namespace {

// No trail byte of a GBK or UTF-8 character lies below 0x40, so a byte search for these
// finds only whole characters. A spreadsheet may split a line at ";" or a tab as well as at
// ",", so those fields are quoted too.
constexpr std::string_view kNeedsQuotes{",\"\r\n;\t", 6};

// Where a spreadsheet that ignores the commas may split a field.
constexpr std::string_view kOtherSeparators = ";\t";

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

// Whether the piece after a ";" or a tab may open as a formula. A split at that kind alone
// ends the piece at the next separator of the same kind; a split at both kinds may end it
// sooner, but then the longer piece holds a separator, is no number, and is caught too.
bool pieceMayOpenAsFormula(std::string_view rest, char separator) {
    return mayOpenAsFormula(rest.substr(0, rest.find(separator)));
}

}  // namespace

void appendCsvField(std::string& line, std::string_view text) {
    bool quoted = text.find_first_of(kNeedsQuotes) != std::string_view::npos;
    if (quoted)
        line += '"';
    if (mayOpenAsFormula(text))
        line += '\'';
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"')
            line += '"';
        line += c;
        if (kOtherSeparators.find(c) != std::string_view::npos &&
            pieceMayOpenAsFormula(text.substr(i + 1), c))
            line += '\'';
    }
    if (quoted)
        line += '"';
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        appendCsvField(line, fields[i]);
    }
    return line;
}
