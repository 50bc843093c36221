#include "NarrowCharacters.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>
#include <utility>

#include "AsciiCase.h"
#include "NarrowText.h"

namespace narrow_characters {

namespace {

std::string utf8Of(char32_t codePoint) {
    std::string out;
    auto put = [&out](char32_t bits) { out += static_cast<char>(bits); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
    return out;
}

using Range = std::pair<char32_t, char32_t>;

// The narrow forms of the non-ASCII code points in the ranges. A form that came out as one
// ASCII byte is left out: it is the code page's look-alike or '?', and ASCII is classed by
// its own rule, so "ª" turned into "a" never makes a letter punctuation.
std::unordered_set<std::string> narrowSet(std::initializer_list<Range> ranges) {
    std::unordered_set<std::string> set;
    for (const Range& range : ranges) {
        for (char32_t codePoint = range.first; codePoint <= range.second; ++codePoint) {
            std::string narrow = fromCodePoint(codePoint);
            if (narrow.size() > 1 || static_cast<unsigned char>(narrow[0]) >= 0x80)
                set.insert(std::move(narrow));
        }
    }
    return set;
}

bool isAscii(std::string_view character) {
    return character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80;
}

}  // namespace

std::vector<std::string_view> split(const std::string& text) {
    std::vector<std::string_view> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = narrow_text::charLength(text, pos);
        characters.emplace_back(text.data() + pos, length);
        pos += length;
    }
    return characters;
}

std::string fromCodePoint(char32_t codePoint) {
    return narrow_text::fromUtf8(utf8Of(codePoint));
}

std::string fromCodePoints(std::u32string_view text) {
    std::string utf8;
    for (char32_t codePoint : text)
        utf8 += utf8Of(codePoint);
    return narrow_text::fromUtf8(utf8);
}

bool isBlank(std::string_view character) {
    if (isAscii(character))
        return character[0] == ' ' || character[0] == '\t';
    static const std::unordered_set<std::string> kBlanks =
        narrowSet({{0x00A0, 0x00A0}, {0x2000, 0x200B}, {0x202F, 0x202F}, {0x3000, 0x3000}});
    return kBlanks.contains(std::string(character));
}

bool isDigit(std::string_view character) {
    if (isAscii(character))
        return character[0] >= '0' && character[0] <= '9';
    static const std::unordered_set<std::string> kDigits = narrowSet({{0xFF10, 0xFF19}});
    return kDigits.contains(std::string(character));
}

bool isPunctuation(std::string_view character) {
    if (isAscii(character))
        return std::ispunct(static_cast<unsigned char>(character[0])) != 0;
    // Latin-1's signs without its letters (ª µ º), general punctuation, CJK symbols and
    // punctuation, the vertical and small forms and the full-width ASCII signs.
    static const std::unordered_set<std::string> kPunctuation = narrowSet({
        {0x00A1, 0x00A9},
        {0x00AB, 0x00B4},
        {0x00B6, 0x00B9},
        {0x00BB, 0x00BF},
        {0x00D7, 0x00D7},
        {0x00F7, 0x00F7},
        {0x2010, 0x205E},
        {0x3001, 0x3004},
        {0x3008, 0x3020},
        {0x3030, 0x3030},
        {0xFE10, 0xFE19},
        {0xFE30, 0xFE6B},
        {0xFF01, 0xFF0F},
        {0xFF1A, 0xFF20},
        {0xFF3B, 0xFF40},
        {0xFF5B, 0xFF65},
    });
    return kPunctuation.contains(std::string(character));
}

std::string lowerLatin(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::string_view character : split(text)) {
        if (character.size() == 1)
            out += ascii_case::lower(character[0]);
        else
            out += character;
    }
    return out;
}

}  // namespace narrow_characters
