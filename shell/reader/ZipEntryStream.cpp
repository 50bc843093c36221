#include "ZipEntryStream.h"

#include <algorithm>

ZipEntryStream::ZipEntryStream(ByteSource& source, const ZipDirectory::Entry& entry)
    : m_source(source), m_entry(entry) {
    bool known = m_entry.method == ZipDirectory::kDeflated ||
                 (m_entry.method == ZipDirectory::kStored && entry.compressedSize == entry.size);
    std::optional<std::uint64_t> offset;
    if (known && !m_entry.encrypted())
        offset = ZipDirectory::dataOffset(source, entry);
    m_failed = !offset;
    m_dataOffset = offset.value_or(0);
}

bool ZipEntryStream::readMore() {
    std::uint64_t left = m_entry.compressedSize - m_readBytes;
    std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, m_pieceBytes));
    if (piece == 0 || !m_source.read(m_dataOffset + m_readBytes, piece, m_input))
        return false;
    m_readBytes += piece;
    return true;
}

bool ZipEntryStream::nextStored() {
    if (m_readBytes == m_entry.compressedSize)
        return true;
    if (!readMore())
        return false;
    m_output.swap(m_input);
    return true;
}

bool ZipEntryStream::nextInflated() {
    for (;;) {
        switch (m_inflate.next(m_output, m_pieceBytes)) {
            case InflateStream::Result::Output:
            case InflateStream::Result::End:
                return true;
            case InflateStream::Result::NeedInput:
                if (!readMore())
                    return false;
                m_inflate.feed(m_input);
                break;
            case InflateStream::Result::Failed:
                return false;
        }
    }
}

std::optional<std::string_view> ZipEntryStream::next() {
    if (m_failed)
        return std::nullopt;
    m_output.clear();
    bool read = m_entry.method == ZipDirectory::kStored ? nextStored() : nextInflated();
    m_pieceBytes = std::min(m_pieceBytes * 2, kMaxPieceBytes);
    m_given += m_output.size();
    m_crc = crc32Of(m_output, m_crc);
    bool atEnd = m_output.empty();
    m_failed = !read || m_given > m_entry.size ||
               (atEnd && (m_given != m_entry.size || m_crc != m_entry.crc));
    if (m_failed)
        return std::nullopt;
    return std::string_view(m_output);
}
