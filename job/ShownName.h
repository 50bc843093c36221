#pragma once

#include <string>
#include <string_view>

// A document's name or a folder's path as a report or a preview shows it: each control
// character (a byte below 0x20, or 0x7F) is written as an escape, "\n", "\r", "\t" or "\xNN",
// so a name can never start a line of its own or move a terminal's cursor. Every other byte
// stays, since no byte of a GBK or UTF-8 character lies below 0x20 or is 0x7F. A backslash
// also stays, as it separates the folders of a Windows path: the escapes are for the eye and
// are never read back.
std::string shownName(std::string_view name);
