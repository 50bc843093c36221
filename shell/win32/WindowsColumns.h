#pragma once

#include <span>

#include "ReferenceFile.h"

// The detail columns of a Windows 10 shell with their Simplified Chinese headings, for the
// reference file when the shell itself gives no headings (as under Wine). Only 0–3 are
// fixed across Windows versions; the rest follow the later Windows 10 numbering.
std::span<const ReferenceColumn> windowsFallbackColumns();
