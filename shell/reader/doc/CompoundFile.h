#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Read access to the streams of an OLE2 compound file (a .doc), enough to fetch the
// property-set streams of its root storage. Every sector number, chain and length is
// checked against the file; a chain that loops or leaves the file ends the read, and
// nothing held grows beyond what the file's own size allows.
class CompoundFile {
  public:
    // Fills out with length bytes at offset; false when they cannot all be read.
    using ReadAt = std::function<bool(std::uint64_t offset, std::size_t length, char* out)>;

    // The file's header, allocation table and directory, or nothing when the bytes are
    // not a compound file.
    static std::optional<CompoundFile> open(ReadAt read, std::uint64_t size);

    // The first maxBytes of the root storage's stream of that name (ASCII names only),
    // or nothing when there is none or it cannot be read.
    std::optional<std::string> rootStream(std::string_view name, std::size_t maxBytes) const;

  private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;
        std::uint32_t left = 0;
        std::uint32_t right = 0;
        std::uint32_t child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    CompoundFile(ReadAt read, std::uint64_t size) : m_read(std::move(read)), m_size(size) {}
    bool readSector(std::uint32_t sector, std::string& out) const;
    // The sector numbers of the chain from start, at most limit of them.
    std::vector<std::uint32_t> chain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                                     std::size_t limit) const;
    // The bytes of a chain of regular sectors, at most limit of them.
    std::optional<std::string> readChain(std::uint32_t start, std::uint64_t limit) const;
    std::optional<std::string> readMiniChain(std::uint32_t start, std::uint64_t limit) const;
    bool loadAllocationTable(std::string_view header);
    bool loadDirectory(std::uint32_t start, std::uint16_t majorVersion);
    const Entry* findRootChild(std::string_view name) const;

    ReadAt m_read;
    std::uint64_t m_size;
    unsigned m_sectorShift = 9;
    unsigned m_miniShift = 6;
    std::uint32_t m_miniCutoff = 4096;
    std::uint32_t m_miniFatStart = 0;
    std::uint64_t m_sectorCount = 0;  // sectors wholly or partly inside the file
    std::vector<std::uint32_t> m_fat;
    std::vector<Entry> m_entries;
};
