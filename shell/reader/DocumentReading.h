#pragma once

#include <cstddef>
#include <optional>

#include "ByteSource.h"
#include "DocumentProperties.h"

// The most of any text a reader gives. A title past a few kilobytes can never be a file name
// nor serve in a cell; a hostile document's is only memory held.
inline constexpr std::size_t kMaxTextBytes = 32u << 10;

// A document reader: the properties of the document in source, or nothing when it cannot
// read it.
using DocumentReader = std::optional<DocumentProperties> (*)(ByteSource& source);

// Runs a reader's parse so that nothing escapes it: whatever it throws (running out of memory
// included: a document the reader cannot afford is one it cannot read) gives nothing. Each
// text leaves cut to its first kMaxTextBytes, at a character's end, without a word.
std::optional<DocumentProperties> readWithoutThrowing(DocumentReader parse, ByteSource& source);

// Runs read over bytes in memory (tests, fuzzing); data may be null.
std::optional<DocumentProperties> readFromMemory(DocumentReader read, const void* data,
                                                 std::size_t size);
