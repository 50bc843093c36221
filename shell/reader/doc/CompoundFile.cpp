#include "CompoundFile.h"

#include <algorithm>

#include "../LittleEndian.h"
#include "AsciiCase.h"

namespace {

constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kEntryBytes = 128;
constexpr std::size_t kHeaderFatSlots = 109;
constexpr unsigned kMiniSectorShift = 6;
constexpr std::size_t kMiniSectorBytes = std::size_t{1} << kMiniSectorShift;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
// Numbers from here up mark a chain's end, a free sector or a table's own sectors.
constexpr std::uint32_t kFirstMarker = 0xFFFFFFFA;
constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;

constexpr unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Compound-file names compare without regard to case.
bool sameName(std::u16string_view stored, std::string_view wanted) {
    return stored.size() == wanted.size() &&
           std::equal(stored.begin(), stored.end(), wanted.begin(), [](char16_t a, char b) {
               return ascii_case::upper(a) ==
                      ascii_case::upper(char16_t{static_cast<unsigned char>(b)});
           });
}

// What a cut-off chain still held is kept: a truncated property set yields what it has.
std::optional<std::string> keptPart(std::string bytes, std::uint64_t limit) {
    if (bytes.empty())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), limit)));
    return bytes;
}

}  // namespace

std::optional<CompoundFile> CompoundFile::open(ByteSource& source) {
    std::string header;
    if (!source.read(0, kHeaderBytes, header) ||
        !std::equal(std::begin(kSignature), std::end(kSignature), header.begin(),
                    [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
        return std::nullopt;
    auto sectorShift = readU16(header, 0x1E);
    auto miniShift = readU16(header, 0x20);
    if ((*sectorShift != 9 && *sectorShift != 12) || *miniShift != kMiniSectorShift)
        return std::nullopt;
    CompoundFile file(source, std::move(header));
    std::optional<Entry> root = file.entry(0);
    if (!root || root->type != kTypeRoot)
        return std::nullopt;
    file.m_root = std::move(*root);
    file.m_miniStream = Chain(Chain::Table::regular, file.m_root.start);
    return file;
}

CompoundFile::CompoundFile(ByteSource& source, std::string header)
    : m_source(&source), m_header(std::move(header)), m_bytesRead(m_header.size()) {
    m_sectorShift = static_cast<unsigned>(*readU16(m_header, 0x1E));
    m_fatSectors = *readU32(m_header, 0x2C);
    m_miniCutoff = *readU32(m_header, 0x38);
    // Version 4 files pad their 512-byte header to a whole sector, so sector n starts at
    // (n + 1) sectors in both versions.
    m_sectorCount = (m_source->size() + sectorBytes() - 1) / sectorBytes() - 1;
    m_directory = Chain(Chain::Table::regular, *readU32(m_header, 0x30));
    m_miniFat = Chain(Chain::Table::regular, *readU32(m_header, 0x3C));
}

bool CompoundFile::readPadded(std::uint64_t offset, std::size_t length, std::string& out) {
    std::uint64_t size = m_source->size();
    if (offset >= size || length > kMaxBytesRead - m_bytesRead)
        return false;
    m_bytesRead += length;
    auto present = static_cast<std::size_t>(std::min<std::uint64_t>(length, size - offset));
    if (!m_source->read(offset, present, out))
        return false;
    // The last sector of a file may be cut short; what is missing reads as zeros.
    out.resize(length, '\0');
    return true;
}

std::optional<std::uint32_t> CompoundFile::sectorAt(Chain& chain, std::size_t position) {
    while (chain.sectors.size() <= position && !chain.ended) {
        std::optional<std::uint32_t> next =
            chain.sectors.empty() ? chain.start : link(chain.table, chain.sectors.back());
        bool usable = next && *next < kFirstMarker &&
                      (chain.table == Chain::Table::mini || *next < m_sectorCount);
        if (!usable || chain.sectors.size() >= kMaxChainSectors ||
            !chain.seen.insert(*next).second) {
            chain.ended = true;
            break;
        }
        chain.sectors.push_back(*next);
    }
    if (position >= chain.sectors.size())
        return std::nullopt;
    return chain.sectors[position];
}

std::optional<std::uint32_t> CompoundFile::link(Chain::Table table, std::uint32_t sector) {
    return table == Chain::Table::mini ? miniFatEntry(sector) : fatEntry(sector);
}

std::optional<std::uint32_t> CompoundFile::fatEntry(std::uint32_t sector) {
    std::size_t perSector = sectorBytes() / 4;
    std::uint32_t index = static_cast<std::uint32_t>(sector / perSector);
    auto cached = m_fatCache.find(index);
    if (cached == m_fatCache.end()) {
        std::optional<std::uint32_t> tableSector = fatSectorNumber(index);
        std::string bytes;
        if (!tableSector || *tableSector >= m_sectorCount ||
            !readPadded(sectorOffset(*tableSector), sectorBytes(), bytes))
            return std::nullopt;
        cached = m_fatCache.emplace(index, std::move(bytes)).first;
    }
    return readU32(cached->second, 4 * (sector % perSector));
}

std::optional<std::uint32_t> CompoundFile::fatSectorNumber(std::uint32_t index) {
    if (index >= m_fatSectors)
        return std::nullopt;
    if (index < kHeaderFatSlots)
        return readU32(m_header, 0x4C + 4 * std::size_t{index});
    // Each DIFAT sector lists table sectors and ends with the number of the next one.
    std::size_t perSector = sectorBytes() / 4 - 1;
    std::size_t which = (index - kHeaderFatSlots) / perSector;
    while (m_difatSectors.size() <= which) {
        std::uint32_t next = m_difatSectors.empty()
                                 ? *readU32(m_header, 0x44)
                                 : *readU32(m_difatSectors.back(), 4 * perSector);
        std::string bytes;
        if (next >= m_sectorCount || !m_difatSeen.insert(next).second ||
            !readPadded(sectorOffset(next), sectorBytes(), bytes))
            return std::nullopt;
        m_difatSectors.push_back(std::move(bytes));
    }
    return readU32(m_difatSectors[which], 4 * ((index - kHeaderFatSlots) % perSector));
}

std::optional<std::uint32_t> CompoundFile::miniFatEntry(std::uint32_t miniSector) {
    std::uint64_t offset = std::uint64_t{miniSector} * 4;
    auto position = static_cast<std::size_t>(offset >> m_sectorShift);
    auto cached = m_miniFatCache.find(position);
    if (cached == m_miniFatCache.end()) {
        std::optional<std::uint32_t> sector = sectorAt(m_miniFat, position);
        std::string bytes;
        if (!sector || !readPadded(sectorOffset(*sector), sectorBytes(), bytes))
            return std::nullopt;
        cached = m_miniFatCache.emplace(position, std::move(bytes)).first;
    }
    return readU32(cached->second, static_cast<std::size_t>(offset & (sectorBytes() - 1)));
}

std::optional<std::uint64_t> CompoundFile::miniSectorOffset(std::uint32_t miniSector) {
    // Mini sectors are carved out of the root entry's stream, itself a chain of sectors.
    std::uint64_t offset = std::uint64_t{miniSector} << kMiniSectorShift;
    if (offset >= m_root.size)
        return std::nullopt;
    std::optional<std::uint32_t> sector =
        sectorAt(m_miniStream, static_cast<std::size_t>(offset >> m_sectorShift));
    if (!sector)
        return std::nullopt;
    return sectorOffset(*sector) + (offset & (sectorBytes() - 1));
}

std::optional<CompoundFile::Entry> CompoundFile::entry(std::uint32_t index) {
    std::uint64_t offset = std::uint64_t{index} * kEntryBytes;
    std::optional<std::uint32_t> sector =
        sectorAt(m_directory, static_cast<std::size_t>(offset >> m_sectorShift));
    std::string raw;
    if (!sector ||
        !readPadded(sectorOffset(*sector) + (offset & (sectorBytes() - 1)), kEntryBytes, raw))
        return std::nullopt;
    Entry entry;
    std::size_t nameBytes = std::min<std::size_t>(*readU16(raw, 0x40), 64);
    for (std::size_t i = 0; i + 2 <= nameBytes; i += 2) {
        char16_t unit = *readU16(raw, i);
        if (unit == 0)
            break;
        entry.name.push_back(unit);
    }
    entry.type = static_cast<std::uint8_t>(raw[0x42]);
    entry.left = *readU32(raw, 0x44);
    entry.right = *readU32(raw, 0x48);
    entry.child = *readU32(raw, 0x4C);
    entry.start = *readU32(raw, 0x74);
    // Version 3 files may leave garbage in the size's high half.
    bool version3 = *readU16(m_header, 0x1A) == 3;
    entry.size = version3 ? *readU32(raw, 0x78) : *readU64(raw, 0x78);
    return entry;
}

std::optional<CompoundFile::Entry> CompoundFile::findRootChild(std::string_view name) {
    // The root's children form a tree through left and right; walk it without trusting it
    // to be one.
    std::unordered_set<std::uint32_t> seen{0};
    std::vector<std::uint32_t> pending{m_root.child};
    while (!pending.empty()) {
        std::uint32_t at = pending.back();
        pending.pop_back();
        if (at == kNoStream || !seen.insert(at).second)
            continue;
        std::optional<Entry> found = entry(at);
        if (!found)
            continue;
        if (found->type == kTypeStream && sameName(found->name, name))
            return found;
        pending.push_back(found->left);
        pending.push_back(found->right);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> CompoundFile::unitOffset(Chain& chain, std::size_t position) {
    std::optional<std::uint32_t> sector = sectorAt(chain, position);
    if (!sector)
        return std::nullopt;
    return chain.table == Chain::Table::mini ? miniSectorOffset(*sector) : sectorOffset(*sector);
}

std::size_t CompoundFile::unitBytes(const Chain& chain) const {
    return chain.table == Chain::Table::mini ? kMiniSectorBytes : sectorBytes();
}

std::optional<std::string> CompoundFile::readStream(const Entry& stream, std::uint64_t limit) {
    bool mini = stream.size < m_miniCutoff;
    Chain chain(mini ? Chain::Table::mini : Chain::Table::regular, stream.start);
    std::string bytes;
    std::string part;
    for (std::size_t position = 0; bytes.size() < limit; ++position) {
        std::optional<std::uint64_t> offset = unitOffset(chain, position);
        if (!offset || !readPadded(*offset, unitBytes(chain), part))
            break;
        bytes += part;
    }
    return keptPart(std::move(bytes), limit);
}

std::optional<std::string> CompoundFile::rootStream(std::string_view name, std::size_t maxBytes) {
    std::optional<Entry> stream = findRootChild(name);
    if (!stream)
        return std::nullopt;
    return readStream(*stream, std::min<std::uint64_t>(stream->size, maxBytes));
}

std::optional<CompoundFile::Stream> CompoundFile::findRootStream(std::string_view name) {
    std::optional<Entry> stream = findRootChild(name);
    if (!stream)
        return std::nullopt;
    bool mini = stream->size < m_miniCutoff;
    return Stream(stream->size,
                  Chain(mini ? Chain::Table::mini : Chain::Table::regular, stream->start));
}

std::optional<std::string> CompoundFile::read(Stream& stream, std::uint64_t offset,
                                              std::size_t length) {
    if (offset > stream.m_size || length > stream.m_size - offset ||
        length > kMaxBytesRead - m_bytesRead)
        return std::nullopt;
    std::size_t unit = unitBytes(stream.m_chain);
    std::string bytes;
    std::string part;
    while (bytes.size() < length) {
        std::uint64_t at = offset + bytes.size();
        if (at / unit >= kMaxChainSectors)
            return std::nullopt;
        std::optional<std::uint64_t> unitStart =
            unitOffset(stream.m_chain, static_cast<std::size_t>(at / unit));
        std::size_t skip = static_cast<std::size_t>(at % unit);
        std::size_t wanted = std::min(unit - skip, length - bytes.size());
        if (!unitStart || !readPadded(*unitStart + skip, wanted, part))
            return std::nullopt;
        bytes += part;
    }
    return bytes;
}
