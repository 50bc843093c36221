#include "ItemFacts.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "AsciiCase.h"
#include "DocumentFile.h"

namespace {

ItemFacts::Format formatOf(const std::string& extension) {
    // The shell knows a type by its extension in any case.
    std::string lower = ascii_case::lower(extension);
    if (lower == "docx")
        return ItemFacts::Format::docx;
    if (lower == "doc")
        return ItemFacts::Format::doc;
    return ItemFacts::Format::other;
}

}  // namespace

std::optional<ItemFacts> readItemFacts(const std::string& folder, const std::string& name) {
    // A name from the folder's listing: nothing that leads out of the folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::nullopt;
    std::string path = folder + name;
    struct statx st {};
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME,
                &st) != 0)
        return std::nullopt;

    ItemFacts facts;
    facts.name = name;
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        facts.extension = name.substr(dot + 1);
    facts.isFolder = S_ISDIR(st.stx_mode);
    facts.size = facts.isFolder ? 0 : st.stx_size;
    facts.modified = st.stx_mtime.tv_sec;
    facts.accessed = st.stx_atime.tv_sec;
    if (st.stx_mask & STATX_BTIME)
        facts.created = st.stx_btime.tv_sec;
    facts.readOnly = !(st.stx_mode & S_IWUSR);
    facts.hidden = name.front() == '.';
    facts.owner = st.stx_uid;
    if (S_ISREG(st.stx_mode)) {
        facts.format = formatOf(facts.extension);
        // The content decides how a document is read, whatever its name says: a file named
        // "docx" without a dot, a .doc written as a package.
        facts.document = readDocumentFile(path);
    }
    return facts;
}
