#pragma once

#include <cstdint>
#include <string>

#include "ColumnTable.h"
#include "ItemFacts.h"

// The texts of the detail columns, as Explorer shows them on a Simplified Chinese system.

// "512 字节", "1.30 KB", "22.9 KB", "235 KB", "1.20 MB": powers of 1024, three significant
// digits, truncated.
std::string formatSize(std::uint64_t bytes);
// Local time to the minute, "2024/5/3 14:22".
std::string formatLocalTime(std::int64_t secondsSince1970);
// "01:05:00"
std::string formatDuration(std::int64_t seconds);

// The text of that column for the item; empty for a value the item does not have.
std::string columnText(ColumnField field, const ItemFacts& item);
