#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "DocumentProperties.h"

// What the reader knows of one folder item: the file system's facts, and for a Word
// document what its properties part held, read once when the item is found.
struct ItemFacts {
    enum class Format { docx, doc, other };

    std::string name;
    // The type the name gives, as the shell shows it; the content is read whatever it is.
    Format format = Format::other;
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
    // Empty for a file that is no Word document, or one whose content could not be read.
    std::optional<DocumentProperties> document;
};

// The facts of folder + name (folder ends with "/"); nothing when no such entry exists or
// the name is not one of a folder entry ("/" in it, "." or "..").
std::optional<ItemFacts> readItemFacts(const std::string& folder, const std::string& name);
