// libFuzzer entry: hostile title bytes and an extension through the rename rule. A name
// the rule accepts must be one valid name in the folder, and the rename must leave the
// document there under that name and nowhere else. Input: one byte for the extension's
// length, the extension, then the title.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "FileServices.h"
#include "NarrowText.h"
#include "TitleRename.h"

namespace {

constexpr const char* kDocument = "document.src";

void require(bool holds, const char* broken) {
    if (!holds) {
        std::fprintf(stderr, "rename rule broken: %s\n", broken);
        std::abort();
    }
}

// A folder of its own holding one document; the name outlives every static string, since
// the folder is removed at exit.
char g_folder[] = "/tmp/tarnel-fuzz-rename-XXXXXX";

const std::string& folder() {
    static const std::string path = [] {
        require(::mkdtemp(g_folder) != nullptr, "no folder to rename in");
        std::atexit([] { std::filesystem::remove_all(g_folder); });
        std::string made = std::string(g_folder) + "/";
        std::FILE* document = std::fopen((made + kDocument).c_str(), "w");
        require(document != nullptr, "no document to rename");
        std::fclose(document);
        return made;
    }();
    return path;
}

// The only entry of the folder, or empty text when there is not exactly one file.
std::string onlyFile() {
    FolderListing listing = listFolder(folder());
    bool single = listing.fault == FolderListing::Fault::None && listing.entries.size() == 1 &&
                  !listing.entries[0].directory;
    return single ? listing.entries[0].name : std::string();
}

bool isRefusedByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || c == '/';
}

// Walks the name as the rule does and checks each step against UTF-8 itself: a character
// of several bytes is a valid lead with continuation bytes, a single byte is no forbidden
// character, and the "." before the extension is a character of its own.
void checkWalk(const std::string& name, std::size_t dot) {
    bool dotIsCharacter = false;
    for (std::size_t pos = 0; pos < name.size();) {
        std::size_t length = narrow_text::charLength(name, pos);
        require(length >= 1 && length <= 4 && pos + length <= name.size(), "walk out of range");
        if (length == 1) {
            require(std::string_view("\\/:*?\"<>|").find(name[pos]) == std::string_view::npos,
                    "a forbidden character in an accepted name");
        } else {
            require(static_cast<unsigned char>(name[pos]) >= 0xC2, "a multi-byte step on no lead");
            for (std::size_t next = pos + 1; next < pos + length; ++next) {
                require((static_cast<unsigned char>(name[next]) & 0xC0) == 0x80,
                        "a multi-byte step over a non-continuation byte");
            }
        }
        dotIsCharacter = dotIsCharacter || (pos == dot && length == 1);
        pos += length;
    }
    require(dotIsCharacter, "the extension's dot inside another character");
}

void checkAcceptedName(const std::string& name, const std::string& title,
                       const std::string& extension) {
    require(name == title + "." + extension, "the name is not title.extension");
    require(name != "." && name != "..", "a name that is no file");
    require(name.size() <= NAME_MAX, "a name beyond the length limit");
    for (char c : name)
        require(!isRefusedByte(c), "a separator or control byte in an accepted name");
    checkWalk(name, title.size());
    if (extension.find('.') == std::string::npos)
        require(extensionOf(name) == extension, "the renamed document changes its extension");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t extensionLength = std::min<std::size_t>(data[0] % 8, input.size());
    std::string extension = input.substr(0, extensionLength);
    std::string title = input.substr(extensionLength);

    std::optional<std::string> name = titleFileName(folder(), title, extension);
    if (name)
        checkAcceptedName(*name, title, extension);
    MoveResult moved = renameToTitle(folder(), kDocument, title, extension);
    require(name || moved == MoveResult::NotMoved, "a refused title was used");
    if (moved != MoveResult::Moved) {
        require(onlyFile() == kDocument, "a document that was not renamed moved");
        return 0;
    }
    require(onlyFile() == *name, "the renamed document is not in its folder under its name");
    require(moveFileNoReplace(folder() + *name, folder() + kDocument) == MoveResult::Moved,
            "the document cannot be renamed back");
    return 0;
}
