#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "ByteSource.h"
#include "DocumentProperties.h"

// A property part is a few kilobytes (the largest of hundreds of real documents: 140 KiB);
// a larger one is not read, so no hostile part costs more than inflating this much.
inline constexpr std::size_t kMaxDocxPartBytes = 1u << 20;

// Reads docProps/core.xml and docProps/app.xml (found through _rels/.rels when it names
// them) of an OOXML package; only those parts are read, each inflated to a capped size.
// Texts come out as valid UTF-8. Nothing for a file that is not a readable zip package.
// Never throws, never crashes on hostile input.
std::optional<DocumentProperties> readDocx(ByteSource& source);
