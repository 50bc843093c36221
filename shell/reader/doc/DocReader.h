#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "../ByteSource.h"
#include "../DocumentProperties.h"

// Reads the SummaryInformation and DocumentSummaryInformation property sets of an OLE2
// (.doc) file, honouring each set's code page; every text comes out as UTF-8. Nothing for a
// file that is not a readable OLE2 compound file. Never throws, never crashes on hostile
// input; what it reads and holds stays within a few MiB whatever the file claims.
std::optional<DocumentProperties> readDoc(ByteSource& source);
