#pragma once

#include <cstddef>
#include <optional>

#include "ByteSource.h"
#include "DocumentProperties.h"

// A document reader: the properties of the document in source, or nothing when it cannot
// read it.
using DocumentReader = std::optional<DocumentProperties> (*)(ByteSource& source);

// Runs a reader's parse so that nothing escapes it: whatever it throws (running out of memory
// included: a document the reader cannot afford is one it cannot read) gives nothing.
std::optional<DocumentProperties> readWithoutThrowing(DocumentReader parse, ByteSource& source);

// Runs read over bytes in memory (tests, fuzzing); data may be null.
std::optional<DocumentProperties> readFromMemory(DocumentReader read, const void* data,
                                                 std::size_t size);
