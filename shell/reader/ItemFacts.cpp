#include "ItemFacts.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "DocumentFile.h"

std::optional<struct statx> statItem(const FolderEntries& folder, const std::string& name) {
    // A name from the folder's listing: nothing that leads out of the folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::nullopt;
    struct statx st {};
    if (::statx(folder.at, (folder.prefix + name).c_str(), AT_STATX_SYNC_AS_STAT,
                STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return std::nullopt;
    return st;
}

ItemFacts itemFacts(const FolderEntries& folder, const std::string& name, const struct statx& st,
                    bool withText, const std::atomic<bool>* abandon) {
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
        facts.kind = findDocumentKind(facts.extension);
        // The content decides how a document is read, whatever its name says: a file named
        // "docx" without a dot, a .doc written as a package.
        if (withText)
            facts.text.emplace();
        facts.document = readDocumentFile(folder.prefix + name, folder.at, abandon,
                                          &facts.unreadable, withText ? &*facts.text : nullptr);
    }
    return facts;
}

std::optional<ItemFacts> readItemFacts(const std::string& folder, const std::string& name,
                                       bool withText) {
    FolderEntries entries{AT_FDCWD, folder};
    std::optional<struct statx> st = statItem(entries, name);
    if (!st)
        return std::nullopt;
    return itemFacts(entries, name, *st, withText);
}

std::size_t textBytes(const ItemFacts& facts) {
    std::size_t bytes = facts.name.size() + facts.extension.size() + facts.text.value_or("").size();
    if (facts.document)
        forEachText(*facts.document, [&](const std::string& text) { bytes += text.size(); });
    return bytes;
}

bool sameUnchangedFile(const struct statx& a, const struct statx& b) {
    auto sameTime = [](const statx_timestamp& x, const statx_timestamp& y) {
        return x.tv_sec == y.tv_sec && x.tv_nsec == y.tv_nsec;
    };
    return a.stx_dev_major == b.stx_dev_major && a.stx_dev_minor == b.stx_dev_minor &&
           a.stx_ino == b.stx_ino && a.stx_mode == b.stx_mode && a.stx_size == b.stx_size &&
           sameTime(a.stx_mtime, b.stx_mtime) && sameTime(a.stx_ctime, b.stx_ctime);
}
