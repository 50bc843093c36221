#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "../ByteSource.h"

// Read access to the streams of an OLE2 compound file (a .doc), enough to fetch the
// property-set streams and the text of its root storage. It reads only what those streams need,
// when they need it: the allocation tables sector by sector through the DIFAT, the directory entry
// by entry, the mini table and mini stream as far as a wanted stream goes. What the file claims
// (counts, sizes) never sizes anything; a chain ends where it would come back to a sector it has
// visited, and a document may make it read a few MiB at most.
class CompoundFile {
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

    // The sectors of one chain, found as far as they have been asked for.
    struct Chain {
        enum class Table { regular, mini };
        Chain(Table table, std::uint32_t start) : table(table), start(start) {}
        Table table;
        std::uint32_t start;
        std::vector<std::uint32_t> sectors;
        std::unordered_set<std::uint32_t> seen;
        bool ended = false;
    };

  public:
    // All a document may make the reader read, tables and streams together.
    static constexpr std::uint64_t kMaxBytesRead = 4u << 20;
    // The longest chain followed: 4 MiB in 512-byte sectors, past any property stream and
    // any real directory or mini stream.
    static constexpr std::size_t kMaxChainSectors = 8192;

    // The file's header and root entry, or nothing when source holds no compound file.
    // The source must outlive the object.
    static std::optional<CompoundFile> open(ByteSource& source);

    // The first maxBytes of the root storage's stream of that name (ASCII names only),
    // or nothing when there is none or it cannot be read.
    std::optional<std::string> rootStream(std::string_view name, std::size_t maxBytes);

    // A stream of the root storage read in parts at any offset, as a .doc's text lies
    // wherever its piece table says.
    class Stream {
      public:
        std::uint64_t size() const { return m_size; }

      private:
        friend class CompoundFile;
        Stream(std::uint64_t size, Chain chain) : m_size(size), m_chain(std::move(chain)) {}
        std::uint64_t m_size;
        Chain m_chain;
    };
    std::optional<Stream> findRootStream(std::string_view name);
    // Bytes [offset, offset + length) of the stream, or nothing when they do not all lie
    // inside it or cannot be read (within the document's share of reading).
    std::optional<std::string> read(Stream& stream, std::uint64_t offset, std::size_t length);

  private:
    CompoundFile(ByteSource& source, std::string header);
    // Reads length bytes at offset, those past the end of the file as zeros; false when
    // offset lies past the end or the document has had its share of reading.
    bool readPadded(std::uint64_t offset, std::size_t length, std::string& out);
    // The chain's sector at that position, or nothing when the chain is shorter.
    std::optional<std::uint32_t> sectorAt(Chain& chain, std::size_t position);
    std::optional<std::uint32_t> link(Chain::Table table, std::uint32_t sector);
    std::optional<std::uint32_t> fatEntry(std::uint32_t sector);
    std::optional<std::uint32_t> miniFatEntry(std::uint32_t miniSector);
    std::optional<std::uint32_t> fatSectorNumber(std::uint32_t index);
    // Where in the file that sector of the mini stream lies.
    std::optional<std::uint64_t> miniSectorOffset(std::uint32_t miniSector);
    std::optional<Entry> entry(std::uint32_t index);
    std::optional<Entry> findRootChild(std::string_view name);
    std::optional<std::string> readStream(const Entry& stream, std::uint64_t limit);
    // Where in the file the unit (sector or mini sector) at that position of a stream's
    // chain lies.
    std::optional<std::uint64_t> unitOffset(Chain& chain, std::size_t position);
    std::size_t unitBytes(const Chain& chain) const;
    std::uint64_t sectorOffset(std::uint32_t sector) const {
        return (std::uint64_t{sector} + 1) << m_sectorShift;
    }
    std::size_t sectorBytes() const { return std::size_t{1} << m_sectorShift; }

    ByteSource* m_source;
    std::string m_header;
    std::uint64_t m_bytesRead = 0;
    unsigned m_sectorShift = 9;
    std::uint32_t m_miniCutoff = 4096;
    std::uint32_t m_fatSectors = 0;   // as the header counts them
    std::uint64_t m_sectorCount = 0;  // sectors wholly or partly inside the file
    Entry m_root;
    Chain m_directory{Chain::Table::regular, 0};
    Chain m_miniFat{Chain::Table::regular, 0};
    Chain m_miniStream{Chain::Table::regular, 0};
    std::vector<std::string> m_difatSectors;
    std::unordered_set<std::uint32_t> m_difatSeen;
    std::unordered_map<std::uint32_t, std::string> m_fatCache;    // by table sector index
    std::unordered_map<std::size_t, std::string> m_miniFatCache;  // by chain position
};
