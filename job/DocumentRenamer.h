#pragma once

#include <set>
#include <string>

#include "FileServices.h"
#include "JobReport.h"
#include "RenameJournal.h"
#include "TitleRename.h"

// The renames of one job: each document to its title, with the rename rule, every rename
// in the job's journal; or, in a preview, what each would become, with nothing changed on
// disk. What happens goes to the job's report.
class DocumentRenamer {
  public:
    // folder ends with a separator; listing is the job's snapshot of it.
    DocumentRenamer(std::string folder, const FolderListing& listing, bool preview,
                    JobReport& report);

    void rename(const std::string& name, const std::string& title, const std::string& extension);
    // A name of the folder that the job takes before its renames, though the listing did
    // not hold it: the output file's.
    void takeName(const std::string& name);

  private:
    RenameOutcome preview(const std::string& name, const std::string& newName);
    RenameOutcome move(const std::string& name, const std::string& newName);
    // Records a rename made; false (the rename taken back) when the journal fails.
    bool journal(const std::string& name, const std::string& newName);

    std::string m_folder;
    bool m_bPreview;
    JobReport& m_report;
    JournalWriter m_journal;
    bool m_bJournalFailed = false;
    // The folder's names as the preview leaves them, and the names this job gave, in the
    // file system's comparison (ASCII case ignored on Windows).
    std::set<std::string> m_names;
    std::set<std::string> m_given;
};
