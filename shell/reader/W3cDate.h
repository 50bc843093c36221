#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A package date (W3C date and time: "2024-05-03T06:22:00Z", "2024-05-03T14:22:00+08:00",
// fractions of seconds, or a date alone) as seconds since 1970-01-01 UTC; nothing when the
// text is not such a date. A time without a zone is taken as UTC.
std::optional<std::int64_t> parseW3cDate(std::string_view text);
