#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Fields of the documents' binary records (zip directories, compound files, property sets):
// little-endian unsigned integers read with bounds checks. Each read gives nothing when the
// field does not lie wholly inside the bytes.

// The integer of n bytes (n <= 8) at offset.
inline std::optional<std::uint64_t> readLe(std::string_view bytes, std::size_t offset,
                                           std::size_t n) {
    if (offset > bytes.size() || n > bytes.size() - offset)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = n; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// The integer of Unsigned's width at offset.
template <typename Unsigned>
std::optional<Unsigned> readUnsigned(std::string_view bytes, std::size_t offset) {
    auto value = readLe(bytes, offset, sizeof(Unsigned));
    if (!value)
        return std::nullopt;
    return static_cast<Unsigned>(*value);
}

inline std::optional<std::uint16_t> readU16(std::string_view bytes, std::size_t offset) {
    return readUnsigned<std::uint16_t>(bytes, offset);
}

inline std::optional<std::uint32_t> readU32(std::string_view bytes, std::size_t offset) {
    return readUnsigned<std::uint32_t>(bytes, offset);
}

inline std::optional<std::uint64_t> readU64(std::string_view bytes, std::size_t offset) {
    return readUnsigned<std::uint64_t>(bytes, offset);
}
