#include "FileNameRules.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "AsciiCase.h"
#include "FileServices.h"
#include "NarrowCharacters.h"
#include "NarrowText.h"

namespace {

// No trail byte of a GBK character and no continuation byte of UTF-8 lies below 0x40, so
// these are refused wherever they stand, whatever the walk makes of the text. DEL is not
// among them: both platforms take it in a name.
bool isForbiddenByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || std::string_view("/:*?\"<>").find(c) != std::string_view::npos;
}

// A GBK trail byte may be 0x5C or 0x7C, so these two are refused only as characters.
bool isForbiddenCharacter(char c) {
    return c == '\\' || c == '|';
}

// The length of the device name a name starts with, 0 when it names no device. Windows
// takes the part before the first "." (blanks at its end dropped) as the device.
std::size_t deviceNameLength(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    stem = ascii_case::upper(stem);
    static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end())
        return stem.size();
    bool numbered = stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
                    stem[3] >= '1' && stem[3] <= '9';
    return numbered ? stem.size() : 0;
}

bool endsWithBlankOrDot(const std::string& text) {
    std::size_t last = narrow_text::findLastChar(text, [](char) { return true; });
    return last == text.size() - 1 && (text.back() == ' ' || text.back() == '.');
}

bool isValidName(const std::string& stem, const std::string& name) {
    // "." and ".." would make names of dots alone, which no user means.
    if (stem.empty() || stem == "." || stem == ".." || deviceNameLength(name) > 0)
        return false;
    return std::none_of(name.begin(), name.end(), isForbiddenByte) &&
           narrow_text::findLastChar(name, isForbiddenCharacter) == std::string::npos &&
           !endsWithBlankOrDot(name);
}

// The full-width form of a character no name holds: the same sign, and one a name takes.
std::string fullWidthOf(char c) {
    return narrow_characters::fromCodePoint(static_cast<char32_t>(c) + 0xFEE0);
}

// A character of two or more bytes with a byte below 0x40 after its first is no character of
// any code page: its lead byte stands alone and is dropped.
bool isBrokenCharacter(std::string_view character) {
    return std::any_of(character.begin() + 1, character.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x40; });
}

std::string withoutEndBlanksAndDots(const std::string& stem) {
    std::vector<std::string_view> characters = narrow_characters::split(stem);
    auto end = characters.end();
    while (end != characters.begin() && (end[-1] == " " || end[-1] == "."))
        --end;
    auto begin = characters.begin();
    while (begin != end && *begin == " ")
        ++begin;
    std::string out;
    for (auto it = begin; it != end; ++it)
        out += *it;
    return out;
}

std::string mended(const std::string& stem) {
    std::string out;
    for (std::size_t pos = 0; pos < stem.size();) {
        std::size_t length = narrow_text::charLength(stem, pos);
        std::string_view character(stem.data() + pos, length);
        if (length > 1 && isBrokenCharacter(character)) {
            pos += 1;
            continue;
        }
        pos += length;
        char c = character[0];
        if (length == 1 && static_cast<unsigned char>(c) < 0x20)
            continue;
        if (length == 1 && (isForbiddenByte(c) || isForbiddenCharacter(c)))
            out += fullWidthOf(c);
        else
            out += character;
    }
    std::string trimmed = withoutEndBlanksAndDots(out);
    std::size_t device = deviceNameLength(trimmed);
    if (device == 0)
        return trimmed;
    return trimmed.substr(0, device) + "_" + trimmed.substr(device);
}

// The longest start of stem, cut at a character boundary, whose name fits the folder's
// limits; empty when not even one character fits. Most stems fit whole, and each try asks
// the file system, so the whole stem is tried first.
std::string fittedStem(const std::string& folder, const std::string& stem,
                       const std::string& tail) {
    if (fitsNameLimits(folder, stem + tail))
        return stem;
    std::vector<std::size_t> ends;
    for (std::size_t pos = 0; pos < stem.size();) {
        pos += narrow_text::charLength(stem, pos);
        ends.push_back(pos);
    }
    auto fits = [&](std::size_t end) { return fitsNameLimits(folder, stem.substr(0, end) + tail); };
    // A longer start never fits where a shorter one does not: the first end that does not fit.
    auto tooLong = std::partition_point(ends.begin(), ends.end(), fits);
    return tooLong == ends.begin() ? std::string() : stem.substr(0, tooLong[-1]);
}

}  // namespace

std::optional<std::string> composeFileName(const std::string& folder, const std::string& stem,
                                           const std::string& suffix, const std::string& extension,
                                           bool fix) {
    std::string tail = suffix + "." + extension;
    std::string base = fix ? mended(stem) : stem;
    // Only a name as the title gives it may be refused for its length; what fittedStem
    // gives fits, and so does a cut stem with its blanks and dots dropped.
    bool cut = fix || !suffix.empty();
    if (cut) {
        std::string fitted = fittedStem(folder, base, tail);
        if (fitted.size() < base.size())
            base = fix ? withoutEndBlanksAndDots(fitted) : fitted;
    }
    std::string name = base + tail;
    if (!isValidName(base, name) || (!cut && !fitsNameLimits(folder, name)))
        return std::nullopt;
    return name;
}
