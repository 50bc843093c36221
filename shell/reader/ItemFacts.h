#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "DocumentKind.h"
#include "DocumentProperties.h"

// What the reader knows of one folder item: the file system's facts, and for an office
// document what its property parts held, read once when the item is found.
struct ItemFacts {
    std::string name;
    // The document kind the name gives, as the shell types it; nullptr for any other file.
    // The content is read whatever it is.
    const DocumentKind* kind = nullptr;
    std::string extension;  // after the last ".", as the name spells it
    bool isFolder = false;
    std::uint64_t size = 0;
    // Seconds since 1970-01-01 UTC.
    std::int64_t modified = 0;
    std::int64_t accessed = 0;
    std::optional<std::int64_t> created;  // where the file system keeps a birth time
    bool readOnly = false;
    bool hidden = false;
    uid_t owner = 0;
    // Empty for a file that is no office document, or one whose content could not be read.
    std::optional<DocumentProperties> document;
    // The first paragraph of a word-processing document's main text (documentFirstParagraph), when
    // it was asked for; nothing when it was not.
    std::optional<std::string> text;
    // The file could not be opened or read: denied, or an I/O error.
    bool unreadable = false;
};

// The bytes the texts of facts hold.
std::size_t textBytes(const ItemFacts& facts);

// Where a folder's entries are looked up: by the folder's path, or in the folder opened as
// a directory, which spares walking the whole path for every entry.
struct FolderEntries {
    int at = AT_FDCWD;   // the open folder, or AT_FDCWD
    std::string prefix;  // with AT_FDCWD the folder's path ending with "/", else empty
};

// The file system's entry of that name; nothing when no such entry exists or the name is
// not one of a folder entry ("/" in it, "." or "..").
std::optional<struct statx> statItem(const FolderEntries& folder, const std::string& name);

// The facts of that entry as stat found it, its content read now, the text too when withText
// (see readDocumentFile for abandon).
ItemFacts itemFacts(const FolderEntries& folder, const std::string& name, const struct statx& st,
                    bool withText, const std::atomic<bool>* abandon = nullptr);

// statItem, then itemFacts, for folder + name (folder ends with "/").
std::optional<ItemFacts> readItemFacts(const std::string& folder, const std::string& name,
                                       bool withText);

// Whether two stats show the same file unchanged: the same inode of the same device, type,
// size, modification and change times. A rename, a rewrite or a replacement changes one.
bool sameUnchangedFile(const struct statx& a, const struct statx& b);
