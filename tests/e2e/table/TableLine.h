#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// One answer of the stand-in shell, as a line of the table file the tests write and the
// stand-in reads: kind, file, column, HRESULT (hex) and text, separated by tabs, in UTF-8.
// Tabs, line breaks and backslashes inside the file and the text are written as \t, \r,
// \n and \\, so every UTF-16 text makes one line.
namespace stand_in {

// The environment variables through which the stand-in finds the table and its record.
inline constexpr char kTableVariable[] = "TARNEL_STAND_IN_TABLE";
inline constexpr char kRecordVariable[] = "TARNEL_STAND_IN_RECORD";

enum class ReplyKind {
    Heading,  // the heading of a column: S_OK and the text
    Text,     // a detail of a file: S_OK and the text
    Null,     // a detail of a file: S_OK and a NULL string
    False,    // a detail of a file: S_FALSE and the text
    Fail,     // a detail of a file: the HRESULT, with the text as the error's description
};

struct TableLine {
    ReplyKind kind = ReplyKind::Text;
    std::wstring file;
    int column = 0;
    HRESULT hr = S_OK;
    std::wstring text;
};

std::string formatLine(const TableLine& line);
// Empty for a line that is not one of the table's (a blank line, a typing error).
std::optional<TableLine> parseLine(std::string_view line);

std::string utf8FromWide(std::wstring_view text);
std::wstring wideFromUtf8(std::string_view text);

}  // namespace stand_in
