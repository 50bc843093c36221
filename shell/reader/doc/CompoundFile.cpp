#include "CompoundFile.h"

#include <algorithm>

#include "LittleEndian.h"

namespace {

constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kEntryBytes = 128;
constexpr std::size_t kHeaderFatSlots = 109;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;
// A document has a few dozen directory entries; this many is already absurd.
constexpr std::size_t kMaxEntries = 1 << 16;

constexpr unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

char16_t upperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Compound-file names compare without regard to case.
bool sameName(std::u16string_view stored, std::string_view wanted) {
    return stored.size() == wanted.size() &&
           std::equal(stored.begin(), stored.end(), wanted.begin(), [](char16_t a, char b) {
               return upperAscii(a) == upperAscii(static_cast<unsigned char>(b));
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

std::optional<CompoundFile> CompoundFile::open(ReadAt read, std::uint64_t size) {
    std::string header(kHeaderBytes, '\0');
    if (size < kHeaderBytes || !read(0, kHeaderBytes, header.data()) ||
        !std::equal(std::begin(kSignature), std::end(kSignature), header.begin(),
                    [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
        return std::nullopt;
    CompoundFile file(std::move(read), size);
    auto majorVersion = readLe(header, 0x1A, 2);
    auto sectorShift = readLe(header, 0x1E, 2);
    auto miniShift = readLe(header, 0x20, 2);
    if ((*sectorShift != 9 && *sectorShift != 12) || *miniShift < 2 || *miniShift > *sectorShift)
        return std::nullopt;
    file.m_sectorShift = static_cast<unsigned>(*sectorShift);
    file.m_miniShift = static_cast<unsigned>(*miniShift);
    file.m_miniCutoff = *readU32(header, 0x38);
    file.m_miniFatStart = *readU32(header, 0x3C);
    // Version 4 files pad their 512-byte header to a whole sector, so sector n starts at
    // (n + 1) sectors in both versions.
    std::uint64_t sectorBytes = std::uint64_t{1} << file.m_sectorShift;
    file.m_sectorCount = (size + sectorBytes - 1) / sectorBytes - 1;
    if (!file.loadAllocationTable(header) ||
        !file.loadDirectory(*readU32(header, 0x30), static_cast<std::uint16_t>(*majorVersion)))
        return std::nullopt;
    return file;
}

bool CompoundFile::readSector(std::uint32_t sector, std::string& out) const {
    if (sector >= m_sectorCount)
        return false;
    std::uint64_t offset = (std::uint64_t{sector} + 1) << m_sectorShift;
    std::size_t length = std::size_t{1} << m_sectorShift;
    out.assign(length, '\0');
    // The last sector of a file may be cut short; what is missing reads as zeros.
    std::size_t present =
        static_cast<std::size_t>(std::min<std::uint64_t>(length, m_size - offset));
    return m_read(offset, present, out.data());
}

bool CompoundFile::loadAllocationTable(std::string_view header) {
    std::uint32_t fatSectors = *readU32(header, 0x2C);
    std::uint32_t difatSector = *readU32(header, 0x44);
    std::size_t perSector = (std::size_t{1} << m_sectorShift) / 4;
    // No more table sectors than it takes to number every sector of the file.
    std::uint64_t needed = (m_sectorCount + perSector - 1) / perSector;
    std::uint64_t wanted = std::min<std::uint64_t>(fatSectors, needed);

    std::vector<std::uint32_t> fatSectorList;
    for (std::size_t i = 0; i < kHeaderFatSlots && fatSectorList.size() < wanted; ++i)
        fatSectorList.push_back(*readU32(header, 0x4C + 4 * i));
    std::string sector;
    for (std::uint64_t steps = 0; fatSectorList.size() < wanted && steps < m_sectorCount; ++steps) {
        if (!readSector(difatSector, sector))
            break;
        for (std::size_t i = 0; i + 1 < perSector && fatSectorList.size() < wanted; ++i)
            fatSectorList.push_back(*readU32(sector, 4 * i));
        difatSector = *readU32(sector, 4 * (perSector - 1));
    }

    for (std::uint32_t fatSector : fatSectorList) {
        if (!readSector(fatSector, sector))
            break;
        for (std::size_t i = 0; i < perSector; ++i)
            m_fat.push_back(*readU32(sector, 4 * i));
    }
    return !m_fat.empty();
}

std::vector<std::uint32_t> CompoundFile::chain(const std::vector<std::uint32_t>& table,
                                               std::uint32_t start, std::size_t limit) const {
    std::vector<std::uint32_t> sectors;
    // A chain ends at any number past the table (end-of-chain, free, or broken); it visits
    // each sector once, so one longer than the table loops.
    for (std::uint32_t at = start;
         at < table.size() && sectors.size() < limit && sectors.size() < table.size();
         at = table[at])
        sectors.push_back(at);
    return sectors;
}

std::optional<std::string> CompoundFile::readChain(std::uint32_t start, std::uint64_t limit) const {
    std::uint64_t sectorBytes = std::uint64_t{1} << m_sectorShift;
    auto most = static_cast<std::size_t>(
        std::min<std::uint64_t>((limit + sectorBytes - 1) / sectorBytes, m_sectorCount));
    std::string bytes;
    std::string sector;
    for (std::uint32_t at : chain(m_fat, start, most)) {
        if (!readSector(at, sector))
            break;
        bytes += sector;
    }
    return keptPart(std::move(bytes), limit);
}

std::optional<std::string> CompoundFile::readMiniChain(std::uint32_t start,
                                                       std::uint64_t limit) const {
    // Mini sectors are carved out of the root entry's stream, itself a chain of sectors.
    const Entry& root = m_entries.front();
    std::uint64_t sectorBytes = std::uint64_t{1} << m_sectorShift;
    std::uint64_t miniBytes = std::uint64_t{1} << m_miniShift;
    std::vector<std::uint32_t> container =
        chain(m_fat, root.start,
              static_cast<std::size_t>(std::min<std::uint64_t>(
                  (root.size + sectorBytes - 1) / sectorBytes, m_sectorCount)));
    std::uint64_t miniCount = container.size() * (sectorBytes / miniBytes);
    auto table = readChain(m_miniFatStart, miniCount * 4);
    if (!table)
        return std::nullopt;
    std::vector<std::uint32_t> miniFat;
    for (std::size_t i = 0; i + 4 <= table->size(); i += 4)
        miniFat.push_back(*readU32(*table, i));

    std::string bytes;
    std::string mini(static_cast<std::size_t>(miniBytes), '\0');
    for (std::uint32_t at :
         chain(miniFat, start, static_cast<std::size_t>((limit + miniBytes - 1) / miniBytes))) {
        std::uint64_t offset = std::uint64_t{at} * miniBytes;
        std::uint64_t index = offset >> m_sectorShift;
        if (index >= container.size())
            break;
        std::uint64_t inFile =
            ((std::uint64_t{container[index]} + 1) << m_sectorShift) + (offset & (sectorBytes - 1));
        if (inFile + miniBytes > m_size || !m_read(inFile, mini.size(), mini.data()))
            break;
        bytes += mini;
    }
    return keptPart(std::move(bytes), limit);
}

bool CompoundFile::loadDirectory(std::uint32_t start, std::uint16_t majorVersion) {
    std::string sector;
    for (std::uint32_t at : chain(m_fat, start, static_cast<std::size_t>(m_sectorCount))) {
        if (!readSector(at, sector))
            break;
        for (std::size_t offset = 0; offset + kEntryBytes <= sector.size(); offset += kEntryBytes) {
            if (m_entries.size() >= kMaxEntries)
                return true;
            std::string_view raw = std::string_view(sector).substr(offset, kEntryBytes);
            Entry entry;
            std::size_t nameBytes = std::min<std::size_t>(*readLe(raw, 0x40, 2), 64);
            for (std::size_t i = 0; i + 2 <= nameBytes; i += 2) {
                auto unit = static_cast<char16_t>(*readLe(raw, i, 2));
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
            entry.size = majorVersion == 3 ? *readU32(raw, 0x78) : *readLe(raw, 0x78, 8);
            m_entries.push_back(std::move(entry));
        }
    }
    return !m_entries.empty() && m_entries.front().type == kTypeRoot;
}

const CompoundFile::Entry* CompoundFile::findRootChild(std::string_view name) const {
    // The root's children form a tree through left and right; walk it without trusting it
    // to be one.
    std::vector<bool> seen(m_entries.size());
    std::vector<std::uint32_t> pending{m_entries.front().child};
    while (!pending.empty()) {
        std::uint32_t at = pending.back();
        pending.pop_back();
        if (at == kNoStream || at >= m_entries.size() || seen[at])
            continue;
        seen[at] = true;
        const Entry& entry = m_entries[at];
        if (entry.type == kTypeStream && sameName(entry.name, name))
            return &entry;
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return nullptr;
}

std::optional<std::string> CompoundFile::rootStream(std::string_view name,
                                                    std::size_t maxBytes) const {
    const Entry* entry = findRootChild(name);
    if (!entry)
        return std::nullopt;
    std::uint64_t limit = std::min<std::uint64_t>(entry->size, maxBytes);
    if (entry->size < m_miniCutoff)
        return readMiniChain(entry->start, limit);
    return readChain(entry->start, limit);
}
