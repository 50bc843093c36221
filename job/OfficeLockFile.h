#pragma once

#include <string>
#include <string_view>

// LibreOffice keeps ".~lock.NAME#" beside a file NAME it has open, one line of fields
// "user,host,login,date,profile", a comma inside a field escaped with "\". A crash leaves
// it behind, and the file then looks held to everyone who honours it.

// The lock file that stands beside path while LibreOffice has it open.
std::string officeLockFilePath(const std::string& path);

// Who the lock file's content says holds the file: its first field, unescaped, without
// control characters and at most kHolderBytes long; empty when it names nobody. The
// content is anybody's writing, so nothing in it is trusted.
std::string officeLockHolder(std::string_view content);
inline constexpr std::size_t kHolderBytes = 64;

// The holder named by the lock file beside path: read without blocking, a regular file
// only and only its first kLockFileBytes; empty when it cannot be read or names nobody.
std::string readOfficeLockHolder(const std::string& path);
inline constexpr std::size_t kLockFileBytes = 4096;
