#pragma once

#include <span>
#include <string>

#include "ColumnHeadings.h"
#include "ShellBackend.h"

// _propids.txt: the reference beside the program that tells the user which detail column
// number stands for what, one "number<TAB>heading" line a column, in the system's narrow
// encoding with "\r\n" line ends. Only the shell knows its own numbering, so the file is
// written from the shell's headings on the machine it runs on.

enum class ReferenceFileOutcome {
    present,              // the file was there already and was left alone
    writtenFromShell,     // from the shell's own headings
    writtenFromFallback,  // the shell gave no heading: from the fallback list
    failed,               // the file could not be written; nothing is left behind
};

// The highest column number the shell is asked for.
inline constexpr int LAST_REFERENCE_COLUMN = 320;

// Called once by the Windows dialog at start-up, on its own thread. When no file is at
// path, asks the shell for the heading of every column from 0 to LAST_REFERENCE_COLUMN of
// folderToAsk (any folder that exists, such as the program's own) and writes the columns
// whose heading is not empty (a column whose heading fails counts as empty); when the shell
// cannot be reached or gives no heading at all, writes the fallback list instead. The file appears
// whole or not at all (written beside it under another name, then renamed) and an existing file is
// never replaced. Enters and leaves the backend's thread state itself. Never raises ShellError.
ReferenceFileOutcome writeReferenceFileIfMissing(const std::string& path, ShellBackend& backend,
                                                 const std::string& folderToAsk,
                                                 std::span<const ColumnHeading> fallback);
