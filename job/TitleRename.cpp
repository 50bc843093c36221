#include "TitleRename.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "FileServices.h"
#include "NarrowText.h"

namespace {

bool isForbiddenByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F ||
           std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
}

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Windows takes the part before the first "." (blanks at its end dropped) as the device.
bool isReservedDeviceName(const std::string& title) {
    std::string stem = title.substr(0, title.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    stem = upperAscii(stem);
    static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end())
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// Every single-byte character of the title is checked; bytes inside a double-byte GBK
// character (a trail byte may be 0x5C) are not separators.
bool holdsForbiddenCharacter(const std::string& title) {
    for (std::size_t pos = 0; pos < title.size();) {
        std::size_t length = narrow_text::charLength(title, pos);
        if (length == 1 && isForbiddenByte(title[pos]))
            return true;
        pos += length;
    }
    return false;
}

bool endsWithBlankOrDot(const std::string& title) {
    std::size_t last = narrow_text::findLastChar(title, [](char) { return true; });
    return last == title.size() - 1 && (title.back() == ' ' || title.back() == '.');
}

}  // namespace

std::string extensionOf(const std::string& name) {
    std::size_t dot = narrow_text::findLastChar(name, [](char c) { return c == '.'; });
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

std::optional<std::string> titleFileName(const std::string& folder, const std::string& title,
                                         const std::string& extension) {
    // A trailing dot also refuses "." and "..".
    if (title.empty())
        return std::nullopt;
    if (holdsForbiddenCharacter(title) || endsWithBlankOrDot(title))
        return std::nullopt;
    if (isReservedDeviceName(title))
        return std::nullopt;
    std::string name = title + "." + extension;
    if (!fitsNameLimits(folder, name))
        return std::nullopt;
    return name;
}

bool renameToTitle(const std::string& folder, const std::string& name, const std::string& title,
                   const std::string& extension) {
    std::optional<std::string> target = titleFileName(folder, title, extension);
    return target && moveFileNoReplace(folder + name, folder + *target);
}
