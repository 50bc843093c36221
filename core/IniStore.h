#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The text form of the configuration store: one [Tarnel] section of key="value" lines.
// Values are written in quotes with C escapes for backslash, quote and control bytes, so
// every byte sequence (blanks at either end, '=', ';', '[', CR/LF, GBK or UTF-8 text)
// comes back exactly. A file edited by hand reads as people write INI files: key=value
// unquoted and literal, blanks around '=', comment lines starting with ';' or '#', a
// comment after a quoted value, CRLF or LF, a leading UTF-8 byte-order mark. Parsing never
// fails: lines outside the section or without a key are left out.
namespace ini_store {

using Entries = std::map<std::string, std::string>;

// What some editors put first in a file they save as UTF-8; parse skips it.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string format(const Entries& entries);
Entries parse(const std::string& text);

// One value in the store's quoted form, for other line formats that must carry any byte.
std::string quoted(const std::string& value);
// Reads the quoted value starting at line[pos] == '"': the position after its closing
// quote, or nothing when it is not closed on its line or holds an unknown escape.
std::optional<std::size_t> readQuoted(const std::string& line, std::size_t pos, std::string& value);

}  // namespace ini_store
