#pragma once

#include <optional>
#include <string>

// What a new name of a document may be. Titles and templates come from documents, so they
// are hostile input: a name is used only when it is one valid file name in the same folder,
// under the same rules on every platform.
//
// Refused: path separators, a stem of "." or "..", the characters : * ? " < > | and control
// characters below 0x20, a name ending in a blank or a dot (an empty extension), the reserved
// device names (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, any case, with any extension), a
// name beyond the file system's name or path length. The bytes of "/", control characters and
// the others below 0x40 are refused wherever they stand; "\\" and "|" only as whole
// characters, since a GBK trail byte may carry their code. A stem may end in a blank or a
// dot, as the extension follows it, and may hold DEL, which both platforms take.

// stem + suffix + "." + extension as one valid file name in folder, or nothing.
//
// With fix, the stem is mended first: the characters a name cannot hold become their
// full-width forms (in the ANSI code page on Windows; where it lacks one the name stays
// refused), control characters are dropped, and so are blanks at its start and blanks and
// dots at its end; a device name gets a "_" after it ("CON_", "nul_.txt"); a stem too long is
// cut at a character boundary. Without fix a name that breaks a rule is refused.
//
// A suffix (" (2)") goes between the stem and the extension; the stem is cut at a character
// boundary to make room for it when needed, with or without fix.
std::optional<std::string> composeFileName(const std::string& folder, const std::string& stem,
                                           const std::string& suffix, const std::string& extension,
                                           bool fix);
