#include "WindowsColumns.h"

std::span<const ColumnHeading> windowsFallbackColumns() {
    return kWindowsColumnHeadings;
}
