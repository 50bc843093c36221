#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FileServices.h"

// The record of the renames one job made, kept in the user's settings folder (never in
// the documents' folder) so that they can be undone. One text file per job, named by its
// start time; each rename is one line, written and brought to disk before the next
// document, so a job that dies leaves a usable journal. Names are quoted with the
// configuration store's escapes, so any byte of a name survives.

struct JournalEntry {
    std::string oldName;
    std::string newName;
    FileIdentity identity;  // of the renamed file, at its new name
};

// A journal as read back.
struct Journal {
    std::string path;
    std::string folder;   // the documents' folder, ending with a path separator
    std::string started;  // local time of the job's start, "2026-12-07 14:08:02"
    std::vector<JournalEntry> entries;
    std::optional<std::string> undone;  // local time of its undo
};

namespace rename_journal {

// How many journals are kept: the newest, counted when a new one is made.
inline constexpr std::size_t kJournalsKept = 20;

// The journals of this user, oldest first.
std::vector<std::string> journalPaths();

// The journal at path, or nothing when the file cannot be read or is no journal. Lines
// cut short by a crash are left out.
std::optional<Journal> read(const std::string& path);

// The newest journal of this user, when there is one and it can be read.
std::optional<Journal> latest();

// Notes in the journal that its renames were undone now.
bool markUndone(const std::string& path);

// The current local time as a journal shows it.
std::string localTimeText();

}  // namespace rename_journal

// Writes one job's journal: made at the job's first rename, one line per rename.
class JournalWriter {
  public:
    // The start time is taken now.
    explicit JournalWriter(std::string documentFolder);

    bool isOpen() const { return m_file.isOpen(); }
    // Creates the journal with its head and drops the oldest beyond kJournalsKept.
    std::optional<FileFault> open();
    // Appends the entry and brings it to disk.
    std::optional<FileFault> record(const JournalEntry& entry);
    // Where the journal is, or is to be made.
    const std::string& path() const { return m_path; }

  private:
    std::optional<FileFault> writeLine(const std::string& line);

    std::string m_documentFolder;
    std::string m_started;
    std::string m_base;  // the path up to the suffix: the start time, sortable
    std::string m_path;
    OutputFile m_file;
};
