#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// U+FFFD REPLACEMENT CHARACTER, in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The text with each run of ill-formed sequences (stray continuation bytes, lead bytes
// without their continuation bytes, overlong forms, surrogates, values past U+10FFFF)
// replaced by one U+FFFD; valid UTF-8 stays as it is. A run of any length so takes three
// bytes: a hostile text of invalid bytes shrinks instead of tripling, and no text more than
// doubles (one stray byte between each two characters).
std::string validUtf8(std::string_view text);

// The longest start of text of at most maxBytes that does not end inside a character.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

// Appends the UTF-8 form of a code point; a surrogate or a value past U+10FFFF as U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);
