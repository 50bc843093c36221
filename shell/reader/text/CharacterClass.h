#pragma once

// What a character is to a reader looking for a paragraph worth a name. Decided on code
// points alone, so the same text gives the same answer on every system and locale.

// A letter of any script or an ideograph (digits, punctuation and symbols are neither).
bool isLetter(char32_t c);
// Blank space of any width, the tab included.
bool isBlank(char32_t c);
// Ends a line: line feed, carriage return, vertical tab, form feed, U+0085, U+2028, U+2029.
bool isLineBreak(char32_t c);
// Carries nothing a reader sees: control characters, soft hyphens, zero-width spaces and
// byte-order marks.
bool isInvisible(char32_t c);
// Punctuation that may end a paragraph and has no place at the end of a name: stops,
// commas, colons, dashes, ellipses, opening brackets and quotes (closing ones pair with an
// opening one that the name keeps).
bool isTrailingPunctuation(char32_t c);
