#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RenameJournal.h"

// Taking back the renames of one journal: in reverse order, each file that still carries
// its new name and is still the same file goes back to its old name, with the move that
// never replaces. Nothing else is touched.

// When this user has no journal to undo.
inline constexpr char kNoRenameJournal[] = "没有可撤销的改名记录。";

// Why a file did not get its old name back.
enum class UndoRefusal {
    Missing,       // no file carries the new name any more
    Changed,       // the file at the new name is another one, or was edited since
    OldNameTaken,  // a file now stands at the old name
    MoveFailed,    // the move failed (the file is open elsewhere, no permission)
    Unsupported,   // the file system cannot move without the risk of replacing
};

struct UndoFailure {
    JournalEntry entry;
    UndoRefusal refusal;
};

struct UndoReport {
    std::int32_t restored = 0;
    std::vector<UndoFailure> failures;
    bool alreadyUndone = false;  // the journal was undone before; nothing was tried
    bool allRestored() const { return !alreadyUndone && failures.empty(); }
};

// Undoes the journal and notes in it that it was undone.
UndoReport undoJournal(const Journal& journal);

// The report as the user reads it, in Chinese, one line per file not restored.
std::string undoReportText(const Journal& journal, const UndoReport& report);

// The question asked before an undo: how many renames, in which folder, when.
std::string undoQuestion(const Journal& journal);
