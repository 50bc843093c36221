#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "ByteSource.h"
#include "DocumentProperties.h"

// What a file's first bytes say it is, whatever its name: a zip package (.docx, and the
// .doc files some programs write as packages) or an OLE2 compound file (.doc).
enum class DocumentFormat { package, compoundFile, other };

// How much of a document's end the reader holds on opening: where a zip keeps its directory
// and, for a small document, everything else.
inline constexpr std::size_t kDocumentTailBytes = 64u << 10;
DocumentFormat documentFormat(ByteSource& source);

// The properties of the Word document at path, read by the reader its first bytes call for.
// Nothing for another kind of file, one that is not a regular file (a pipe or a device
// opened without waiting), or one that cannot be read. A relative path is taken from the
// open directory at. Once *abandon is set the reading ends at its next read of the file,
// its answer then of no use. *unreadable, where given, tells whether the file could not be
// opened or read, as against holding no properties. Never throws.
std::optional<DocumentProperties> readDocumentFile(const std::string& path, int at = AT_FDCWD,
                                                   const std::atomic<bool>* abandon = nullptr,
                                                   bool* unreadable = nullptr);
