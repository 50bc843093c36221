#include "OfficeLockFile.h"

#include "FileServices.h"
#include "PathSeparator.h"

std::string officeLockFilePath(const std::string& path) {
    std::size_t nameStart = fileNameStart(path);
    return path.substr(0, nameStart) + ".~lock." + path.substr(nameStart) + "#";
}

std::string officeLockHolder(std::string_view content) {
    std::string holder;
    bool escaped = false;
    for (char c : content) {
        auto byte = static_cast<unsigned char>(c);
        if (!escaped && c == '\\') {
            escaped = true;
            continue;
        }
        if (!escaped && (c == ',' || c == '\n'))
            break;
        escaped = false;
        if (byte >= 0x20 && byte != 0x7F)
            holder += c;
    }
    if (holder.size() <= kHolderBytes)
        return holder;
    // Cut before a character, not inside one, and say that the name goes on.
    std::size_t cut = kHolderBytes;
    while (cut > 0 && (static_cast<unsigned char>(holder[cut]) & 0xC0) == 0x80)
        --cut;
    return holder.substr(0, cut) + "…";
}

std::string readOfficeLockHolder(const std::string& path) {
    std::optional<std::string> content = readFileHead(officeLockFilePath(path), kLockFileBytes);
    return content ? officeLockHolder(*content) : std::string();
}
