#include "PropertySection.h"

#include <algorithm>
#include <limits>

#include "../LittleEndian.h"
#include "CodePageText.h"

const FormatId kSummaryInformation = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                      0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const FormatId kDocumentSummaryInformation = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                              0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

namespace {

constexpr std::uint32_t kPidCodePage = 1;
constexpr std::uint16_t kVtI2 = 2;
constexpr std::uint16_t kVtUi2 = 18;
constexpr std::uint16_t kVtLpstr = 30;
constexpr std::uint16_t kVtLpwstr = 31;
constexpr std::uint16_t kVtFiletime = 64;

struct IntegerType {
    std::uint16_t type;
    unsigned bytes;
    bool isSigned;
};
// VT_I2, VT_I4, VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT.
constexpr IntegerType kIntegerTypes[] = {
    {kVtI2, 2, true}, {3, 4, true},  {16, 1, true},  {17, 1, false}, {kVtUi2, 2, false},
    {19, 4, false},   {20, 8, true}, {21, 8, false}, {22, 4, true},  {23, 4, false},
};

// Stream header: byte order, version, system id, class id, section count.
constexpr std::size_t kHeaderBytes = 28;
constexpr std::size_t kSectionListEntryBytes = 20;
// The stream reader caps the stream; this caps the table read from it.
constexpr std::uint32_t kMaxEntries = 4096;

// Sign-extends the low `bits` bits.
std::int64_t signExtend(std::uint64_t value, unsigned bits) {
    std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    value &= (sign << 1) - 1;
    return static_cast<std::int64_t>((value ^ sign) - sign);
}

// Some writers store the format id's first three fields big-endian; the id is still
// recognisable.
bool sameFormatId(std::string_view stored, const FormatId& id) {
    FormatId swapped = id;
    std::reverse(swapped.begin(), swapped.begin() + 4);
    std::reverse(swapped.begin() + 4, swapped.begin() + 6);
    std::reverse(swapped.begin() + 6, swapped.begin() + 8);
    auto matches = [stored](const FormatId& candidate) {
        return stored.size() == candidate.size() &&
               std::equal(
                   candidate.begin(), candidate.end(), stored.begin(),
                   [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
    };
    return matches(id) || matches(swapped);
}

}  // namespace

PropertySection::PropertySection(std::string_view bytes, std::vector<Entry> entries)
    : m_bytes(bytes), m_entries(std::move(entries)) {
    // The code page is read as unsigned: 65001 is stored as the VT_I2 value -535.
    std::uint16_t type = 0;
    auto stored = value(kPidCodePage, type);
    if (stored && (type == kVtI2 || type == kVtUi2)) {
        if (auto page = readU16(*stored, 0); page && *page != 0)
            m_codePage = *page;
    }
}

std::optional<PropertySection> PropertySection::find(std::string_view stream, const FormatId& id) {
    auto byteOrder = readU16(stream, 0);
    auto sections = readU32(stream, kHeaderBytes - 4);
    if (!byteOrder || *byteOrder != 0xFFFE || !sections)
        return std::nullopt;
    for (std::uint32_t i = 0; i < *sections; ++i) {
        std::size_t listEntry = kHeaderBytes + std::size_t{i} * kSectionListEntryBytes;
        auto offset = readU32(stream, listEntry + 16);
        if (!offset)
            return std::nullopt;
        if (!sameFormatId(stream.substr(listEntry, id.size()), id))
            continue;
        // The section's own size field is ignored: writers get it wrong, and every offset
        // is checked against the stream anyway.
        if (*offset > stream.size())
            return std::nullopt;
        std::string_view bytes = stream.substr(*offset);
        auto count = readU32(bytes, 4);
        if (!count)
            return std::nullopt;
        std::vector<Entry> entries;
        for (std::uint32_t e = 0; e < *count && e < kMaxEntries; ++e) {
            auto pid = readU32(bytes, 8 + std::size_t{e} * 8);
            auto at = readU32(bytes, 12 + std::size_t{e} * 8);
            if (!pid || !at)
                break;
            entries.push_back({*pid, *at});
        }
        return PropertySection(bytes, std::move(entries));
    }
    return std::nullopt;
}

std::optional<std::string_view> PropertySection::value(std::uint32_t pid,
                                                       std::uint16_t& type) const {
    for (const Entry& entry : m_entries) {
        if (entry.pid != pid)
            continue;
        auto stored = readU16(m_bytes, entry.offset);
        if (!stored)
            return std::nullopt;
        type = static_cast<std::uint16_t>(*stored);
        if (m_bytes.size() - entry.offset < 4)
            return std::nullopt;
        return m_bytes.substr(std::size_t{entry.offset} + 4);
    }
    return std::nullopt;
}

std::optional<std::string> PropertySection::text(std::uint32_t pid) const {
    std::uint16_t type = 0;
    auto stored = value(pid, type);
    if (!stored || (type != kVtLpstr && type != kVtLpwstr))
        return std::nullopt;
    auto length = readU32(*stored, 0);
    if (!length)
        return std::nullopt;
    // VT_LPSTR counts bytes, VT_LPWSTR UTF-16 units; a count past the stream is cut to it.
    std::uint64_t bytes = type == kVtLpwstr ? std::uint64_t{*length} * 2 : *length;
    std::string_view characters = stored->substr(4);
    if (bytes < characters.size())
        characters = characters.substr(0, static_cast<std::size_t>(bytes));
    return codePageToUtf8(characters, type == kVtLpwstr ? kCodePageUtf16 : m_codePage);
}

std::optional<std::int64_t> PropertySection::integer(std::uint32_t pid) const {
    std::uint16_t type = 0;
    auto stored = value(pid, type);
    if (!stored)
        return std::nullopt;
    for (const IntegerType& known : kIntegerTypes) {
        if (known.type != type)
            continue;
        auto raw = readLe(*stored, 0, known.bytes);
        if (!raw)
            return std::nullopt;
        if (known.isSigned)
            return signExtend(*raw, known.bytes * 8);
        if (*raw > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return static_cast<std::int64_t>(*raw);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> PropertySection::fileTime(std::uint32_t pid) const {
    std::uint16_t type = 0;
    auto stored = value(pid, type);
    if (!stored || type != kVtFiletime)
        return std::nullopt;
    return readU64(*stored, 0);
}
