#include "TitleRename.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "AsciiCase.h"
#include "FileServices.h"
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

// Windows takes the part before the first "." (blanks at its end dropped) as the device.
bool isReservedDeviceName(const std::string& title) {
    std::string stem = title.substr(0, title.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    stem = ascii_case::upper(stem);
    static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end())
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool holdsForbiddenByte(const std::string& name) {
    return std::any_of(name.begin(), name.end(), isForbiddenByte);
}

bool holdsForbiddenCharacter(const std::string& name) {
    return narrow_text::findLastChar(name, isForbiddenCharacter) != std::string::npos;
}

bool endsWithBlankOrDot(const std::string& text) {
    std::size_t last = narrow_text::findLastChar(text, [](char) { return true; });
    return last == text.size() - 1 && (text.back() == ' ' || text.back() == '.');
}

}  // namespace

std::string extensionOf(const std::string& name) {
    std::size_t dot = narrow_text::findLastChar(name, [](char c) { return c == '.'; });
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

bool hasDocumentExtension(const std::string& name) {
    std::string extension = extensionOf(name);
    return extension == "doc" || extension == "docx";
}

std::optional<std::string> titleFileName(const std::string& folder, const std::string& title,
                                         const std::string& extension) {
    // A title may end in a blank or a dot: the extension follows it. "." and ".." would make
    // names of dots alone, which no user means.
    if (title.empty() || title == "." || title == ".." || isReservedDeviceName(title))
        return std::nullopt;
    std::string name = title + "." + extension;
    if (holdsForbiddenByte(name) || holdsForbiddenCharacter(name) || endsWithBlankOrDot(name))
        return std::nullopt;
    if (!fitsNameLimits(folder, name))
        return std::nullopt;
    return name;
}

MoveResult renameToTitle(const std::string& folder, const std::string& name,
                         const std::string& title, const std::string& extension) {
    std::optional<std::string> target = titleFileName(folder, title, extension);
    if (!target)
        return MoveResult::NotMoved;
    return moveFileNoReplace(folder + name, folder + *target);
}
