#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RenameJournal.h"

// Taking back the renames of one journal: in reverse order, each file not yet restored
// that still carries its new name and is still the same file goes back to its old name,
// through a handle on its own folder (the journal's, or one below it), with the move that
// never replaces. Nothing
// else is touched. Each file restored is noted in the journal, so an undo that could not
// restore them all can be tried again for the rest.

// Why a file did not get its old name back.
enum class UndoRefusal {
    Missing,        // no file carries the new name any more
    Changed,        // the file at the new name is another one, or was edited since
    OldNameTaken,   // a file now stands at the old name
    MoveFailed,     // the move failed (the file is open elsewhere, no permission)
    Unsupported,    // the file system cannot move without the risk of replacing
    NotSingleName,  // a name holds a path separator or is "." or "..", or the folder lies
                    // outside the journal's: no job wrote it
    NoFolder,       // its subfolder is not there now, or cannot be opened
};

// Why nothing was tried.
enum class UndoBlocked {
    AlreadyUndone,  // an earlier undo restored every file
    NoRenames,      // the journal holds no rename
    NoFolder,       // the documents' folder is not there now (not mounted, removed)
};

struct UndoFailure {
    JournalEntry entry;
    UndoRefusal refusal;
};

struct UndoReport {
    std::int32_t restored = 0;
    std::vector<UndoFailure> failures;
    std::optional<UndoBlocked> blocked;
    bool notNoted = false;  // the journal could not note the files restored
    // Every file left was restored, and noted.
    bool succeeded() const { return !blocked && failures.empty() && !notNoted; }
};

// Undoes the renames of the journal not restored before, noting each restored in it.
UndoReport undoJournal(const Journal& journal);

// The report as the user reads it, in Chinese, one line per file not restored.
std::string undoReportText(const Journal& journal, const UndoReport& report);

// The question asked before an undo: how many renames, in which folder, when; or, when
// nothing is left to undo, why.
std::string undoQuestion(const Journal& journal);
