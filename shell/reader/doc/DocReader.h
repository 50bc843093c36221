#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "../DocumentProperties.h"

// Reads the SummaryInformation and DocumentSummaryInformation property sets of an OLE2
// (.doc) file, honouring each set's code page; every text comes out as UTF-8. Nothing for a
// file that is not a readable OLE2 compound file. Never throws, never crashes on hostile
// input.
std::optional<DocumentProperties> readDocFile(const std::string& path);
std::optional<DocumentProperties> readDocMemory(const void* data, std::size_t size);
