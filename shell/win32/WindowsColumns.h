#pragma once

#include <span>

#include "ReferenceFile.h"

// The columns of the reference file when the shell itself gives no headings (as under Wine):
// the Windows 10 shell's own, with their Simplified Chinese headings.
std::span<const ColumnHeading> windowsFallbackColumns();
