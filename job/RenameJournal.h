#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FileServices.h"

// The record of the renames one job made, kept in the user's settings folder (never in
// the documents' folder) so that they can be undone. One text file per job, named by a
// number one above the highest journal's, so their order is the jobs' order whatever the
// clock says; each rename is one line, written and brought to disk before the next
// document, so a job that dies leaves a usable journal. Names are quoted with the
// configuration store's escapes, so any byte of a name survives. A job over a tree notes
// each subfolder's absolute path before the first of its renames; a journal without such
// notes holds renames of its top folder only. An undo appends a line for each rename it
// took back, so the others can be tried again later.

// When this user has no journal to undo.
inline constexpr char kNoRenameJournal[] = "没有可撤销的改名记录。";

struct JournalEntry {
    std::string oldName;
    std::string newName;
    FileIdentity identity;  // of the renamed file, at its new name
    // The file's folder, ending with a path separator: read back absolute; recorded by its
    // path from the documents' folder (empty for that folder), which the journal notes.
    std::string folder{};
};

// A journal as read back.
struct Journal {
    std::string path;
    FileIdentity file;    // the journal file read, so an undo notes itself in this one only
    std::string folder;   // the documents' folder, absolute, ending with a path separator
    std::string started;  // local time of the job's start, "2026-12-07 14:08:02"
    std::vector<JournalEntry> entries;
    std::vector<bool> restored;         // per entry: an undo gave the file its old name back
    std::optional<std::string> undone;  // local time of the latest undo that restored any
    bool cutShort = false;              // its last line has no end: a crash cut it short

    std::size_t remaining() const;
};

// A journal, or why the file at its path cannot be taken for one.
struct JournalRead {
    std::optional<Journal> journal;
    std::string refusal;  // in the user's words
};

namespace rename_journal {

// How many journals are kept: the newest, counted when a new one is made.
inline constexpr std::size_t kJournalsKept = 20;

// The journals of this user (regular files only), oldest first.
std::vector<std::string> journalPaths();

// The journal at path, refused when it is no regular file of this user's, too large to be
// one, still held by the job writing it, or no journal. Lines cut short by a crash are
// left out.
JournalRead read(const std::string& path);

// The newest journal of this user.
JournalRead latest();

// True when name is one entry of a folder on either platform, as every name in a journal
// must be to be undone: not empty, neither '/', '\\' nor NUL in it, and not made of dots
// and blanks alone ("." and "..", and what Windows reads as them).
bool isSingleName(const std::string& name);

// True when folder is top itself or lies below it through single names alone, each
// followed by a path separator: a folder the job over top may have renamed in.
bool isFolderWithin(const std::string& top, const std::string& folder);

// The current local time as a journal shows it.
std::string localTimeText();

}  // namespace rename_journal

// Writes one job's journal: made at the job's first rename, one line per rename, held
// against other writers (and so against an undo) until the writer goes.
class JournalWriter {
  public:
    // The start time is taken now.
    explicit JournalWriter(std::string documentFolder);

    bool isOpen() const { return m_file.isOpen(); }
    // Creates the journal with its head and drops the oldest beyond kJournalsKept.
    std::optional<FileFault> open();
    // Appends the entry and brings it to disk; its folder is relative to the documents'
    // folder, empty for that folder itself.
    std::optional<FileFault> record(const JournalEntry& entry);
    // Where the journal is, once open() has tried to make it.
    const std::string& path() const { return m_path; }

  private:
    std::optional<FileFault> writeLine(const std::string& line);

    std::string m_documentFolder;
    std::string m_started;
    std::string m_path;
    // The documents' folder as the journal names it, and the subfolder of the last entry.
    std::string m_absoluteFolder;
    std::string m_lastFolder;
    OutputFile m_file;
};

// Notes in a journal, as an undo goes, which entries got their old names back: the undo's
// time before its first note, then one line per entry, brought to disk at the end. Only
// the file the journal was read from takes them.
class JournalMarks {
  public:
    explicit JournalMarks(const Journal& journal) : m_journal(journal) {}

    // False when the notes cannot be written (a read-only journal, or another file now
    // stands at its path); the undo that goes on must say so.
    bool restored(std::size_t entry);
    bool finish();

  private:
    const Journal& m_journal;
    OutputFile m_file;
    bool m_bFailed = false;
};
