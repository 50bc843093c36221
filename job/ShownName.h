#pragma once

#include <string>
#include <string_view>

// A document's name or a folder's path as a report or a preview shows it: each control
// character (a byte below 0x20, or 0x7F) is written as an escape, "\n", "\r", "\t" or "\xNN",
// and so is a Unicode line or paragraph separator of UTF-8 text ("\u2028", "\u2029"), which
// a Qt box breaks a line at; so a name can never start a line of its own or move a terminal's
// cursor. Every other character stays as it is, GBK and UTF-8 alike. A backslash also stays,
// as it separates the folders of a Windows path: the escapes are for the eye and are never
// read back.
std::string shownName(std::string_view name);
