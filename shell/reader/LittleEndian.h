#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The little-endian unsigned integer of n bytes (n <= 8) at offset, or nothing when it does
// not lie wholly inside bytes.
inline std::optional<std::uint64_t> readLe(std::string_view bytes, std::size_t offset,
                                           std::size_t n) {
    if (offset > bytes.size() || n > bytes.size() - offset)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = n; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

inline std::optional<std::uint32_t> readU32(std::string_view bytes, std::size_t offset) {
    auto value = readLe(bytes, offset, 4);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}
