#pragma once

#include <string>
#include <string_view>
#include <vector>

// Classes of the narrow characters (UTF-8 on Linux, the ANSI code page on Windows) that the
// title and name rules look at. The non-ASCII ones are known by their code points and
// converted to the narrow encoding once, so the same tables serve both platforms; a
// character the code page lacks is simply never met in a narrow text.
namespace narrow_characters {

// The characters of text in order, whole as narrow_text walks them.
std::vector<std::string_view> split(const std::string& text);

// The narrow form of one code point ('?' or a look-alike where the code page lacks it).
std::string fromCodePoint(char32_t codePoint);
// The narrow form of a text written as code points.
std::string fromCodePoints(std::u32string_view text);

// Blanks: space, tab, no-break space, the typographic spaces and the ideographic space.
bool isBlank(std::string_view character);
// 0-9 and the full-width ０-９.
bool isDigit(std::string_view character);
// ASCII punctuation and symbols, and the punctuation of Latin-1, general punctuation, CJK
// symbols and punctuation and the full-width and small forms.
bool isPunctuation(std::string_view character);

// The text with the ASCII letters that stand as characters of their own in lower case (a
// GBK trail byte may carry a letter's code and stays).
std::string lowerLatin(const std::string& text);

}  // namespace narrow_characters
