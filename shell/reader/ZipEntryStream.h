#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ByteSource.h"
#include "Inflate.h"
#include "ZipDirectory.h"

// An entry's content read in pieces from the start, so that a reader looking for something
// near the start of a large part stops there: it costs what was read, not the whole part.
class ZipEntryStream {
  public:
    // How much is read from the source, and given out, at a time: little at first, as what
    // a reader wants is mostly near the start, then more, so a long read costs fewer calls.
    static constexpr std::size_t kFirstPieceBytes = 4u << 10;
    static constexpr std::size_t kMaxPieceBytes = 64u << 10;

    ZipEntryStream(ByteSource& source, const ZipDirectory::Entry& entry);

    // The next piece of content, empty at its end; nothing when the entry is encrypted,
    // stored with another method, damaged, or not as long or of another CRC than the
    // directory says (known at the end only).
    std::optional<std::string_view> next();
    // How many bytes of content were given out so far.
    std::uint64_t contentBytes() const { return m_given; }

  private:
    // Reads the next piece of stored data into m_input.
    bool readMore();
    // The next piece of content into m_output, empty at the end; false when it fails.
    bool nextStored();
    bool nextInflated();

    ByteSource& m_source;
    const ZipDirectory::Entry m_entry;
    std::uint64_t m_dataOffset = 0;
    std::uint64_t m_readBytes = 0;  // of the stored data
    std::uint64_t m_given = 0;
    std::uint32_t m_crc = 0;
    std::size_t m_pieceBytes = kFirstPieceBytes;
    bool m_failed = false;
    std::string m_input;
    std::string m_output;
    InflateStream m_inflate;
};
