#include "ZipDirectory.h"

#include <algorithm>
#include <limits>

#include "AsciiCase.h"
#include "Inflate.h"
#include "LittleEndian.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndBytes = 22;
constexpr std::size_t kZip64LocatorBytes = 20;
constexpr std::size_t kZip64EndBytes = 56;
constexpr std::size_t kCentralBytes = 46;
constexpr std::size_t kLocalBytes = 30;
constexpr std::size_t kMaxComment = 0xffff;
constexpr std::uint32_t kSaturated32 = 0xffffffff;

// Every record is read, or its length checked, whole before its fields are read: the
// fields read here are always there.

// Where the directory lies and how many entries it declares.
struct DirectoryPlace {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t entries = 0;
    std::uint64_t end = 0;  // where the directory must end: the record that describes it
};

// Fills in the ZIP64 end record's figures when the classic record saturates them.
bool readZip64End(ByteSource& source, std::uint64_t endOffset, DirectoryPlace& place) {
    if (endOffset < kZip64LocatorBytes)
        return false;
    std::uint64_t locatorOffset = endOffset - kZip64LocatorBytes;
    std::string locator;
    if (!source.read(locatorOffset, kZip64LocatorBytes, locator) ||
        readU32(locator, 0) != kZip64LocatorSignature)
        return false;
    std::uint64_t recordOffset = *readU64(locator, 8);
    if (recordOffset > locatorOffset || locatorOffset - recordOffset < kZip64EndBytes)
        return false;
    std::string record;
    if (!source.read(recordOffset, kZip64EndBytes, record) ||
        readU32(record, 0) != kZip64EndSignature || *readU32(record, 16) != 0 ||
        *readU32(record, 20) != 0)
        return false;
    place.entries = *readU64(record, 32);
    place.size = *readU64(record, 40);
    place.offset = *readU64(record, 48);
    place.end = recordOffset;
    return true;
}

std::optional<DirectoryPlace> findDirectory(ByteSource& source) {
    std::uint64_t fileSize = source.size();
    if (fileSize < kEndBytes)
        return std::nullopt;
    std::size_t tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndBytes + kMaxComment));
    std::uint64_t tailOffset = fileSize - tailSize;
    std::string tail;
    if (!source.read(tailOffset, tailSize, tail))
        return std::nullopt;

    // The end record is the last signature whose comment fits inside the file.
    for (std::size_t at = tailSize - kEndBytes + 1; at-- > 0;) {
        if (readU32(tail, at) != kEndSignature)
            continue;
        if (*readU16(tail, at + 20) > tailSize - kEndBytes - at)
            continue;
        std::string_view end(tail.data() + at, kEndBytes);
        if (*readU16(end, 4) != 0 || *readU16(end, 6) != 0)
            return std::nullopt;  // split archives
        DirectoryPlace place{*readU32(end, 16), *readU32(end, 12), *readU16(end, 10),
                             tailOffset + at};
        if (*readU16(end, 10) == 0xffff || *readU32(end, 12) == kSaturated32 ||
            *readU32(end, 16) == kSaturated32) {
            if (!readZip64End(source, place.end, place))
                return std::nullopt;
        }
        if (place.offset > place.end || place.size > place.end - place.offset)
            return std::nullopt;
        return place;
    }
    return std::nullopt;
}

// Takes the ZIP64 extra field's values for the figures the entry saturates.
bool applyZip64Extra(std::string_view extra, ZipDirectory::Entry& entry, bool wideSize,
                     bool wideCompressed, bool wideOffset) {
    if (!wideSize && !wideCompressed && !wideOffset)
        return true;
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        std::uint16_t id = *readU16(extra, at);
        std::size_t length = *readU16(extra, at + 2);
        at += 4;
        if (length > extra.size() - at)
            return false;
        if (id == 0x0001) {
            std::string_view field = extra.substr(at, length);
            std::size_t next = 0;
            for (auto [wide, value] : {std::pair{wideSize, &entry.size},
                                       std::pair{wideCompressed, &entry.compressedSize},
                                       std::pair{wideOffset, &entry.localHeaderOffset}}) {
                if (!wide)
                    continue;
                if (next + 8 > field.size())
                    return false;
                *value = *readU64(field, next);
                next += 8;
            }
            return true;
        }
        at += length;
    }
    return false;
}

}  // namespace

std::optional<ZipDirectory> ZipDirectory::read(ByteSource& source) {
    std::optional<DirectoryPlace> place = findDirectory(source);
    if (!place || place->size > kMaxDirectoryBytes || place->entries > kMaxEntries)
        return std::nullopt;

    ZipDirectory zip;
    if (!source.read(place->offset, static_cast<std::size_t>(place->size), zip.m_directory))
        return std::nullopt;
    std::string_view directory = zip.m_directory;
    zip.m_entries.reserve(static_cast<std::size_t>(place->entries));
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < place->entries; ++i) {
        if (directory.size() - at < kCentralBytes || readU32(directory, at) != kCentralSignature)
            return std::nullopt;
        std::size_t nameLength = *readU16(directory, at + 28);
        std::size_t extraLength = *readU16(directory, at + 30);
        std::size_t commentLength = *readU16(directory, at + 32);
        std::size_t recordLength = kCentralBytes + nameLength + extraLength + commentLength;
        if (directory.size() - at < recordLength)
            return std::nullopt;

        Entry entry;
        entry.nameOffset = static_cast<std::uint32_t>(at + kCentralBytes);
        entry.nameLength = static_cast<std::uint16_t>(nameLength);
        entry.flags = *readU16(directory, at + 8);
        entry.method = *readU16(directory, at + 10);
        entry.crc = *readU32(directory, at + 16);
        entry.compressedSize = *readU32(directory, at + 20);
        entry.size = *readU32(directory, at + 24);
        entry.localHeaderOffset = *readU32(directory, at + 42);
        std::string_view extra = directory.substr(at + kCentralBytes + nameLength, extraLength);
        if (!applyZip64Extra(extra, entry, entry.size == kSaturated32,
                             entry.compressedSize == kSaturated32,
                             entry.localHeaderOffset == kSaturated32))
            return std::nullopt;
        zip.m_entries.push_back(entry);
        at += recordLength;
    }
    return zip;
}

const ZipDirectory::Entry* ZipDirectory::find(std::string_view wanted) const {
    for (const Entry& entry : m_entries) {
        if (ascii_case::equalIgnoringCase(name(entry), wanted))
            return &entry;
    }
    return nullptr;
}

std::optional<std::string> ZipDirectory::extract(ByteSource& source, const Entry& entry,
                                                 std::size_t maxBytes) const {
    std::optional<std::string> stored = storedData(source, entry, maxBytes);
    if (!stored)
        return std::nullopt;
    return content(entry, std::move(*stored));
}

std::optional<std::string> ZipDirectory::storedData(ByteSource& source, const Entry& entry,
                                                    std::size_t maxBytes) const {
    if (entry.encrypted())
        return std::nullopt;
    if (entry.size > maxBytes)
        return std::nullopt;
    // Deflate's worst case adds a few bytes per 16 KiB block; more input than that cannot
    // inflate to at most maxBytes.
    std::uint64_t maxCompressed = maxBytes + maxBytes / 1024 + 64;
    if (entry.method == kStored ? entry.compressedSize != entry.size
                                : entry.method != kDeflated || entry.compressedSize > maxCompressed)
        return std::nullopt;

    std::optional<std::uint64_t> offset = dataOffset(source, entry);
    std::string data;
    if (!offset || !source.read(*offset, static_cast<std::size_t>(entry.compressedSize), data))
        return std::nullopt;
    return data;
}

std::optional<std::uint64_t> ZipDirectory::dataOffset(ByteSource& source, const Entry& entry) {
    std::string local;
    if (!source.read(entry.localHeaderOffset, kLocalBytes, local) ||
        readU32(local, 0) != kLocalSignature)
        return std::nullopt;
    return entry.localHeaderOffset + kLocalBytes + *readU16(local, 26) + *readU16(local, 28);
}

std::optional<std::string> ZipDirectory::content(const Entry& entry, std::string data) {
    if (entry.method == kDeflated) {
        std::string inflated;
        if (!inflateExactly(data, static_cast<std::size_t>(entry.size), inflated))
            return std::nullopt;
        data.swap(inflated);
    }
    if (crc32Of(data) != entry.crc)
        return std::nullopt;
    return data;
}
