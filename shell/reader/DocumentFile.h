#pragma once

#include <fcntl.h>

#include <atomic>
#include <optional>
#include <string>

#include "ByteSource.h"
#include "DocumentFormat.h"
#include "DocumentProperties.h"

// How much of a document's end the reader holds on opening: where a zip keeps its directory
// and, for a small document, everything else.
inline constexpr std::size_t kDocumentTailBytes = 64u << 10;

// The properties of the Word document at path, read by the reader its first bytes call for.
// Nothing for another kind of file, one that is not a regular file (a pipe or a device
// opened without waiting), or one that cannot be read. A relative path is taken from the
// open directory at. Once *abandon is set the reading ends at its next read of the file,
// its answer then of no use. *unreadable, where given, tells whether the file could not be
// opened or read, as against holding no properties. *firstParagraph, where given, gets the
// first paragraph of the document's main text (documentFirstParagraph). Never throws.
std::optional<DocumentProperties> readDocumentFile(const std::string& path, int at = AT_FDCWD,
                                                   const std::atomic<bool>* abandon = nullptr,
                                                   bool* unreadable = nullptr,
                                                   std::string* firstParagraph = nullptr);
