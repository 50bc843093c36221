#pragma once

#include <string>
#include <string_view>

// U+FFFD REPLACEMENT CHARACTER, in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The text with each ill-formed sequence (a stray continuation byte, a lead byte without
// its continuation bytes, an overlong form, a surrogate, a value past U+10FFFF) replaced by
// U+FFFD, one for each maximal subpart, as Unicode recommends; valid UTF-8 stays as it is.
std::string validUtf8(std::string_view text);

// Appends the UTF-8 form of a code point; a surrogate or a value past U+10FFFF as U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);
