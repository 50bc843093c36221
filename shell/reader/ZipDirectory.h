#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ByteSource.h"

// A lean reader of a zip file's central directory and of single entries, for documents
// that are packages of a few small parts worth reading among large ones that are not.
// Every offset and length read from the file is checked against the file and the caps
// before use; anything out of place makes the archive, or that entry, unreadable.
class ZipDirectory {
  public:
    struct Entry {
        std::uint32_t nameOffset = 0;  // into the directory held by this object
        std::uint16_t nameLength = 0;
        std::uint16_t flags = 0;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t localHeaderOffset = 0;

        bool encrypted() const { return flags & (kFlagEncrypted | kFlagStrongEncryption); }
    };

    // Storage methods and flags a reader knows.
    static constexpr std::uint16_t kStored = 0;
    static constexpr std::uint16_t kDeflated = 8;
    static constexpr std::uint16_t kFlagEncrypted = 0x0001;
    static constexpr std::uint16_t kFlagStrongEncryption = 0x0040;

    // Caps on what a document may make the reader hold.
    static constexpr std::size_t kMaxDirectoryBytes = 16u << 20;
    static constexpr std::size_t kMaxEntries = 65536;

    // The directory of the zip file in source, or nothing when it has none that is sound.
    static std::optional<ZipDirectory> read(ByteSource& source);

    // The entry of that name (ASCII case ignored, as package part names are), or nullptr.
    const Entry* find(std::string_view name) const;
    // The entry's content, inflated to at most maxBytes and checked against its CRC; nothing
    // when it is larger, encrypted, stored with another method or damaged.
    std::optional<std::string> extract(ByteSource& source, const Entry& entry,
                                       std::size_t maxBytes) const;
    // The two steps of extract: the entry's data as the file stores it, compressed or not
    // (nothing where extract gives nothing before inflating), and its content.
    std::optional<std::string> storedData(ByteSource& source, const Entry& entry,
                                          std::size_t maxBytes) const;
    static std::optional<std::string> content(const Entry& entry, std::string stored);
    // Where the entry's stored data starts (after its local header), or nothing when the
    // header is not there.
    static std::optional<std::uint64_t> dataOffset(ByteSource& source, const Entry& entry);

    const std::vector<Entry>& entries() const { return m_entries; }
    std::string_view name(const Entry& entry) const {
        return std::string_view(m_directory).substr(entry.nameOffset, entry.nameLength);
    }

  private:
    std::string m_directory;
    std::vector<Entry> m_entries;
};
