#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>

#include "FileServices.h"
#include "JobReport.h"
#include "JobSettings.h"
#include "NameTemplate.h"
#include "RenameJournal.h"
#include "TitleRename.h"

// How a job makes new names: the rename options of its settings.
struct RenameRules {
    NameTemplate nameTemplate;
    bool textTitle = false;         // an empty or placeholder title: the text's first paragraph
    bool fixNames = false;          // a name made valid rather than refused
    bool numberDuplicates = false;  // a taken name: the first free " (2)", " (3)" ...

    // The rules of the settings, or the message that refuses their template.
    static std::variant<RenameRules, std::string> of(const JobSettings& settings);
};

// What the renamer may ask of the current document; each is asked only when a rule needs
// it, since a column or the text may cost a read.
struct DocumentFacts {
    std::function<std::string(int column)> detail;
    std::function<std::string()> text;
};

// The renames of one job: each document to the name its rules make, every rename in the
// job's journal; or, in a preview, what each would become, with nothing changed on disk.
// Both go through the same decisions, so a preview names what the job then does. What
// happens goes to the job's report.
class DocumentRenamer {
  public:
    // folder ends with a separator; listing is the job's snapshot of it.
    DocumentRenamer(std::string folder, const FolderListing& listing, RenameRules rules,
                    bool preview, JobReport& report);

    // Renames from now on in a subfolder of a tree: its path, its path from the top folder
    // (shown to the user and kept in the journal) and the job's snapshot of it. Documents
    // are renamed within their own folder, so names of other folders never collide.
    void enterFolder(std::string folder, std::string relative, const FolderListing& listing);

    void rename(const std::string& name, const DocumentFacts& facts);
    // A name of the folder that the job takes before its renames, though the listing did
    // not hold it: the output file's.
    void takeName(const std::string& name);

  private:
    // The template's result; fromText tells whether the title in it came from the text.
    std::string stem(const DocumentFacts& facts, bool& fromText) const;
    // The title, or with the text-title rule the text for an empty or placeholder one.
    std::string title(const DocumentFacts& facts, bool& fromText) const;
    // The n-th name the rules allow (1: the plain one), or nothing.
    std::optional<std::string> candidate(const std::string& stem, const std::string& extension,
                                         int number) const;
    // Gives the document the first candidate that is free, or says why it keeps its name.
    RenameOutcome place(const std::string& name, const std::string& stem,
                        const std::string& extension, std::string& newName);
    // Why a candidate cannot be had, as far as the names known tell; nothing when it is free.
    std::optional<RenameOutcome> takenBy(const std::string& name,
                                         const std::string& candidate) const;
    // The real move; a name found taken is noted as such.
    RenameOutcome move(const std::string& name, const std::string& newName);
    // Records a rename made; false (the rename taken back) when the journal fails.
    bool journal(const std::string& name, const std::string& newName);
    // Notes that the document now carries its new name.
    void given(const std::string& name, const std::string& newName);

    std::string m_folder;
    std::string m_relative;  // from the top folder, empty for it
    // Whether the journal can name the folder: every step from the top a single name.
    bool m_bUndoableFolder = true;
    RenameRules m_rules;
    bool m_bPreview;
    JobReport& m_report;
    JournalWriter m_journal;
    bool m_bJournalFailed = false;
    // The folder's names as the renames so far leave them, and the names this job gave, in
    // the file system's comparison (ASCII case ignored on Windows).
    std::set<std::string> m_names;
    std::set<std::string> m_given;
};
