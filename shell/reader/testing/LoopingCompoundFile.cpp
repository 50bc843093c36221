#include "LoopingCompoundFile.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kClaimedCount = 0xFFFFFF00;
constexpr std::uint32_t kFatSector = 0;
constexpr std::uint32_t kDirectorySector = 1;
constexpr std::uint32_t kDifatSector = 2;
constexpr std::uint32_t kDataSector = 3;

void putLe(std::string& bytes, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

void putEntry(std::string& bytes, std::size_t at, std::u16string_view name, std::uint8_t type,
              std::uint32_t child, std::uint32_t start, std::uint64_t size) {
    for (std::size_t i = 0; i < name.size(); ++i)
        putLe(bytes, at + 2 * i, name[i], 2);
    putLe(bytes, at + 0x40, 2 * (name.size() + 1), 2);
    bytes[at + 0x42] = static_cast<char>(type);
    putLe(bytes, at + 0x44, kNoStream, 4);
    putLe(bytes, at + 0x48, kNoStream, 4);
    putLe(bytes, at + 0x4C, child, 4);
    putLe(bytes, at + 0x74, start, 4);
    putLe(bytes, at + 0x78, size, 8);
}

}  // namespace

std::string LoopingCompoundFile::head() const {
    const std::size_t sector = std::size_t{1} << sectorShift;
    auto at = [sector](std::uint32_t number) { return (std::size_t{number} + 1) * sector; };
    std::string bytes(std::max<std::size_t>(4096, at(kDataSector + 1)), '\0');

    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(std::begin(signature), std::end(signature), bytes.begin());
    putLe(bytes, 0x18, 0x3E, 2);
    // Version 4, whatever the sector size: a version 3 reader ignores a size's high half.
    putLe(bytes, 0x1A, 4, 2);
    putLe(bytes, 0x1C, 0xFFFE, 2);
    putLe(bytes, 0x1E, sectorShift, 2);
    putLe(bytes, 0x20, miniSectorShift, 2);
    putLe(bytes, 0x2C, kClaimedCount, 4);
    putLe(bytes, 0x30, kDirectorySector, 4);
    putLe(bytes, 0x38, 4096, 4);
    putLe(bytes, 0x3C, kFatSector, 4);
    putLe(bytes, 0x40, kClaimedCount, 4);
    putLe(bytes, 0x44, kDifatSector, 4);
    putLe(bytes, 0x48, kClaimedCount, 4);
    for (std::size_t slot = 0; slot < 109; ++slot)
        putLe(bytes, 0x4C + 4 * slot, kFatSector, 4);

    for (std::uint32_t entry = 0; entry < sector / 4; ++entry)
        putLe(bytes, at(kFatSector) + 4 * entry, entry, 4);
    putLe(bytes, at(kDifatSector) + sector - 4, kDifatSector, 4);

    std::uint32_t streamStart = streamSize < 4096 ? 0 : kDataSector;
    std::size_t directory = at(kDirectorySector);
    putEntry(bytes, directory, u"Root Entry", 5, 1, kFatSector, std::uint64_t{1} << 40);
    putEntry(bytes, directory + 128, u"\005SummaryInformation", 2, kNoStream, streamStart,
             streamSize);
    putEntry(bytes, directory + 256, u"\005DocumentSummaryInformation", 2, kNoStream, streamStart,
             streamSize);
    // The second stream hangs off the first, as a directory tree keeps siblings.
    putLe(bytes, directory + 128 + 0x48, 2, 4);
    return bytes;
}
