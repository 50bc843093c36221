#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TitleRename.h"
#include "TreeWalk.h"

class CCore;
class ShellError;
enum class FileFault;

// The status line while a job runs and once it has ended, and the message for a job whose
// thread cannot start: the same texts in the dialog and the runner.
std::string progressText(CCore& core, std::int32_t document);
std::string doneText(CCore& core, std::int32_t documents);
inline constexpr char kCannotStartNewThread[] = "Cannot Start New Thread";

// Why a document keeps its name, as the end report and the preview say it.
std::string keptNameReason(RenameOutcome outcome);

// What a job has to tell the user at its end, in Chinese: the number of documents it
// reached, the one failure that ended it, the documents it had to skip and the property
// numbers it clamped. Names and paths are shown with their control characters escaped.
class JobReport {
  public:
    void reached(std::int32_t documents) { m_nDocuments = documents; }
    std::int32_t documents() const { return m_nDocuments; }

    void outputNotOpened(const std::string& path, FileFault fault);
    // Only LibreOffice's lock file at lockPath says the output is held, by holder (empty
    // when it names nobody); it may be a crash's leftover that the user removes.
    void outputHeldByLockFile(const std::string& path, const std::string& lockPath,
                              const std::string& holder);
    void outputNotWritten(const std::string& path, FileFault fault);
    void shellNotConnected();
    void folderNotOpened(const std::string& folder);
    void folderNotOpened(const std::string& folder, const ShellError& error);
    void folderNotRead(const std::string& folder);
    void folderCutShort(const std::string& folder);
    void folderVanished(const std::string& folder);
    void documentFailed(const std::string& name, const ShellError& error);
    void jobFailed(const std::string& what);

    // A subfolder of a tree the job did not go into, by its path from the top folder.
    void folderNotWalked(const std::string& relative, UnwalkedFolder::Reason reason);
    void skipped(const std::string& name);
    // A document whose file could not be opened or read: its line is written, blank.
    void unreadable(const std::string& name);
    // A document renamed; fromText when its new name holds the text's first paragraph.
    void renamed(bool fromText);
    // A document that kept its name. Told at the end unless it has no title or already
    // carries it.
    void renameKept(const std::string& name, RenameOutcome outcome);
    // The journal could not be made or written: the job renames nothing more.
    void journalNotWritten(const std::string& path, FileFault fault);
    void clamped(const std::vector<std::string>& fields);

    // A preview's row for one document, its names as shown: the name it would get, or none
    // and why it keeps its own.
    struct PreviewRow {
        std::string name;
        std::string newName;  // empty when the document keeps its name
        std::string note;     // empty, "正文" for a name from the text, or the kept reason
    };
    void previewed(const std::string& name, const std::string& newName, bool fromText);
    void previewKept(const std::string& name, RenameOutcome outcome);
    const std::vector<PreviewRow>& previewRows() const { return m_previewRows; }
    // The rows as the runner prints them, one line each.
    std::vector<std::string> previewLines() const;

    bool failed() const { return !m_failure.empty() || !m_journalFailure.empty(); }
    // Whether a failure ended the job; the first one is the one told.
    bool endedByFailure() const { return !m_failure.empty(); }
    // The whole message, empty after a clean job.
    std::string text() const;

  private:
    // The documents one note is about: how many, and the first few names.
    class NameTally {
      public:
        void add(const std::string& name);
        std::int32_t count() const { return m_nCount; }
        std::string names() const;

      private:
        std::int32_t m_nCount = 0;
        std::vector<std::string> m_first;
    };

    std::int32_t m_nDocuments = 0;
    std::string m_failure;
    std::string m_journalFailure;
    std::vector<std::string> m_unwalkedLines;  // the first kFoldersShown of them
    std::int32_t m_nUnwalked = 0;
    NameTally m_skipped;
    NameTally m_unreadable;
    std::map<RenameOutcome, NameTally> m_kept;
    // New names given, or in a preview to be given, and how many of them the text made.
    std::int32_t m_nRenamed = 0;
    std::int32_t m_nFromText = 0;
    bool m_bPreviewed = false;
    std::vector<PreviewRow> m_previewRows;
    std::vector<std::string> m_clampedFields;
};
