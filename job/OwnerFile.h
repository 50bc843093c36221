#pragma once

#include <cstddef>
#include <string>

// Word and WPS keep a small owner file "~$NAME" beside each document they have open, named
// like a document but none. It is no document of a job: a name starting with "~$", at most
// kOwnerFileBytes, and no document by its first bytes. A real document so named stays one.
bool isOwnerFile(const std::string& folder, const std::string& name);
inline constexpr std::size_t kOwnerFileBytes = 4096;
