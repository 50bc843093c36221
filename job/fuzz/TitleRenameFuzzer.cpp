// libFuzzer entry: hostile titles, texts, author columns, templates and extensions through
// DocumentRenamer with the options the input picks, previewed and then renamed for real in
// a folder of its own. Whatever the input, a new name is one name inside the folder within
// the length limit, valid UTF-8 when what it was made of is, no file is ever replaced, and
// the preview names what the real renames do.
//
// Input: one byte of options (bits 0-2 the extension's length, bit 3 fix names, bit 4 text
// title, bit 5 numbered duplicates, bit 6 a template from the input), the extension, then
// NUL-separated fields: the title, the text, the author column and the template.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "DocumentRenamer.h"
#include "FileServices.h"
#include "ShownName.h"

namespace fs = std::filesystem;

namespace {

// Two documents with the same facts, so the second meets the first's name, and a bystander
// standing where the plain name would go when that is a name at all.
constexpr const char* kDocuments[] = {"a.", "b."};
constexpr const char* kBystanderText = "bystander";

void require(bool holds, const char* broken) {
    if (!holds) {
        std::fprintf(stderr, "rename rule broken: %s\n", broken);
        std::abort();
    }
}

// A folder of its own for the documents and one for the journals; both go at exit.
char g_root[] = "/tmp/tarnel-fuzz-rename-XXXXXX";

const std::string& folder() {
    static const std::string path = [] {
        require(::mkdtemp(g_root) != nullptr, "no folder to rename in");
        std::atexit([] { fs::remove_all(g_root); });
        std::string root = std::string(g_root) + "/";
        fs::create_directory(root + "documents");
        fs::create_directory(root + "config");
        ::setenv("XDG_CONFIG_HOME", (root + "config").c_str(), 1);
        return root + "documents/";
    }();
    return path;
}

struct Input {
    JobSettings settings;
    std::string extension, title, text, author;
};

Input parse(const std::uint8_t* data, std::size_t size) {
    Input input;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::uint8_t options = data[0];
    std::size_t extensionLength = std::min<std::size_t>(options % 8, rest.size());
    input.extension = rest.substr(0, extensionLength);
    std::vector<std::string> fields(4);
    std::size_t field = 0;
    for (char c : rest.substr(extensionLength)) {
        if (c == '\0' && field + 1 < fields.size())
            ++field;
        else
            fields[field] += c;
    }
    input.title = fields[0];
    input.text = fields[1];
    input.author = fields[2];
    input.settings.fixnames = (options >> 3) & 1;
    input.settings.texttitle = (options >> 4) & 1;
    input.settings.numberdups = (options >> 5) & 1;
    if ((options >> 6) & 1)
        input.settings.nametemplate = fields[3];
    input.settings.rename = 1;
    return input;
}

bool isValidUtf8(const std::string& text) {
    for (std::size_t pos = 0; pos < text.size();) {
        auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
        if (length == 0 || pos + length > text.size())
            return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = pos + 1; next < pos + length; ++next) {
            auto byte = static_cast<unsigned char>(text[next]);
            if ((byte & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (byte & 0x3F);
        }
        bool shortest = length < 3 || (length == 3 ? code >= 0x800 : code >= 0x10000);
        if (!shortest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        pos += length;
    }
    return true;
}

// The folder's files by content (each file holds its own first name).
std::map<std::string, std::string> filesByContent() {
    std::map<std::string, std::string> files;
    FolderListing listing = listFolder(folder());
    require(listing.fault == FolderListing::Fault::None, "the folder cannot be listed");
    for (const ListingEntry& entry : listing.entries) {
        require(!entry.directory, "a folder appeared");
        std::string content = readFileHead(folder() + entry.name, 64).value_or("");
        require(files.emplace(content, entry.name).second, "a file was copied or replaced");
    }
    return files;
}

// Writes the documents and the bystander; false when the extension makes no file name.
bool makeFolder(const Input& input) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder()))
        fs::remove_all(entry.path());
    auto write = [](const std::string& name, const std::string& content) {
        if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos ||
            name == "." || name == ".." || name.size() > NAME_MAX)
            return false;
        std::FILE* file = std::fopen((folder() + name).c_str(), "wx");
        if (file == nullptr)
            return false;
        std::fputs(content.c_str(), file);
        std::fclose(file);
        return true;
    };
    for (const char* document : kDocuments) {
        std::string name = document + input.extension;
        if (!write(name, name))
            return false;
    }
    write(input.title + "." + input.extension, kBystanderText);
    return true;
}

// Both documents get the same facts; the shell's answers, as a job asks them.
DocumentFacts factsOf(const Input& input) {
    return {[&input](int column) {
                return column == 21 ? input.title : column == 20 ? input.author : std::string();
            },
            [&input] { return input.text; }};
}

std::vector<std::string> renameAll(const Input& input, const RenameRules& rules, bool preview) {
    JobReport report;
    DocumentRenamer renamer(folder(), listFolder(folder()), rules, preview, report);
    for (const char* document : kDocuments)
        renamer.rename(document + input.extension, factsOf(input));
    return report.previewLines();
}

void checkNewName(const std::string& name, const Input& input) {
    require(name.find('/') == std::string::npos && name != "." && name != "..",
            "a name that is no single name");
    require(name.size() <= NAME_MAX, "a name beyond the length limit");
    for (char c : name)
        require(static_cast<unsigned char>(c) >= 0x20, "a control byte in a new name");
    if (input.extension.find('.') == std::string::npos)
        require(extensionOf(name) == input.extension, "the renamed document changes its extension");
    bool validInput = isValidUtf8(input.title) && isValidUtf8(input.text) &&
                      isValidUtf8(input.author) && isValidUtf8(input.settings.nametemplate) &&
                      isValidUtf8(input.extension);
    require(!validInput || isValidUtf8(name), "invalid UTF-8 made from valid text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Input input = parse(data, size);
    auto rules = RenameRules::of(input.settings);
    if (!std::holds_alternative<RenameRules>(rules) || !makeFolder(input))
        return 0;
    std::map<std::string, std::string> before = filesByContent();
    std::vector<std::string> preview = renameAll(input, std::get<RenameRules>(rules), true);
    require(filesByContent() == before, "a preview changed the folder");
    renameAll(input, std::get<RenameRules>(rules), false);
    std::map<std::string, std::string> after = filesByContent();
    require(after.size() == before.size(), "a file went missing");
    if (before.contains(kBystanderText))
        require(after.at(kBystanderText) == before.at(kBystanderText), "the bystander was moved");
    require(preview.size() == std::size(kDocuments), "a document without its preview line");
    for (std::size_t i = 0; i < std::size(kDocuments); ++i) {
        std::string name = kDocuments[i] + input.extension;
        require(after.contains(name), "a document lost its content");
        const std::string& now = after.at(name);
        if (now == name) {
            require(preview[i].starts_with(shownName(name) + "：保留原名（"),
                    "the preview renamed a document the job left");
            continue;
        }
        checkNewName(now, input);
        require(preview[i].starts_with(shownName(name) + " → " + shownName(now)) &&
                    (preview[i].size() == (shownName(name) + " → " + shownName(now)).size() ||
                     preview[i].ends_with("（取自正文）")),
                "the preview named another name than the job gave");
    }
    return 0;
}
