#include "OutputGuard.h"

#include "JobOutput.h"
#include "PathSeparator.h"

namespace {

constexpr std::string_view kZipSignature("PK\x03\x04", 4);
constexpr std::string_view kCompoundSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

}  // namespace

bool sameFile(const std::optional<FileIdentity>& a, const FileIdentity& b) {
    return a && a->volume == b.volume && a->index == b.index;
}

bool hasDocumentSignature(std::string_view head) {
    return head.starts_with(kZipSignature) || head.starts_with(kCompoundSignature);
}

OutputRefusal documentRefusal(std::string outputPath, std::string folder,
                              std::vector<std::string> documents) {
    // A workbook output replaces the workbook an earlier job left, which is a zip package.
    bool zipTaken = isWorkbookPath(outputPath);
    return [outputPath = std::move(outputPath), folder = std::move(folder),
            documents = std::move(documents), zipTaken](const OpenedOutput& found) {
        if (hasDocumentSignature(found.head) &&
            !(zipTaken && found.head.starts_with(kZipSignature)))
            return true;
        // A file with one name, reached without a link, outside the folder is no entry of it.
        bool mayBeListed = found.links > 1 || !sameFile(fileIdentity(outputPath), found.identity) ||
                           nameInFolder(outputPath, folder);
        if (!mayBeListed)
            return false;
        for (const std::string& name : documents) {
            if (sameFile(fileIdentity(folder + name), found.identity))
                return true;
        }
        return false;
    };
}

std::optional<OutputPlace> outputPlace(const std::string& path) {
    std::size_t nameStart = fileNameStart(path);
    if (nameStart == path.size())
        return std::nullopt;
    // Ending with a separator, the parent is looked up through a link to it as well.
    std::string parent =
        nameStart == 0 ? std::string(".") + kPathSeparator : path.substr(0, nameStart);
    std::optional<FileIdentity> parentIdentity = fileIdentity(parent);
    if (!parentIdentity)
        return std::nullopt;
    return OutputPlace{*parentIdentity, path.substr(nameStart)};
}

std::optional<std::string> nameInFolder(const std::string& path, const std::string& folder) {
    std::optional<OutputPlace> place = outputPlace(path);
    if (!place || !sameFile(fileIdentity(folder), place->folder))
        return std::nullopt;
    return place->name;
}
