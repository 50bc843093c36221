#pragma once

#include <cstddef>
#include <string>

// Walking narrow text by whole characters of the system's code page. In GBK the second
// byte of a character may be '\\' (0x5C), so a byte search can find a separator that is
// not there; these functions never split a character.
namespace narrow_text {

// Number of bytes of the character that starts at text[pos] (at least 1, never past the end).
// A byte that starts no complete, valid character of the code page counts as one.
std::size_t charLength(const std::string& text, std::size_t pos);

// Position of the last character for which isTarget holds, or npos.
template <typename Predicate>
std::size_t findLastChar(const std::string& text, Predicate isTarget) {
    std::size_t found = std::string::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) {
        if (charLength(text, pos) == 1 && isTarget(text[pos]))
            found = pos;
    }
    return found;
}

// UTF-8 text in the system's narrow code page: unchanged on POSIX, where narrow text is
// UTF-8; converted on Windows, where a character the code page lacks becomes '?'.
std::string fromUtf8(const std::string& text);

// Narrow text of the system's code page in UTF-8: unchanged on POSIX; converted on Windows,
// where every character of the code page has a UTF-8 form.
std::string toUtf8(const std::string& text);

// Every occurrence of from (a whole character sequence) replaced by to, matching only at
// character boundaries.
std::string replaceAll(const std::string& text, const std::string& from, const std::string& to);

}  // namespace narrow_text
