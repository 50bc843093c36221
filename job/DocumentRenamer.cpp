#include "DocumentRenamer.h"

#include "AsciiCase.h"

namespace {

// Names as the file system compares them.
std::string nameKey(const std::string& name) {
#ifdef _WIN32
    return ascii_case::upper(name);
#else
    return name;
#endif
}

}  // namespace

DocumentRenamer::DocumentRenamer(std::string folder, const FolderListing& listing, bool preview,
                                 JobReport& report)
    : m_folder(std::move(folder)), m_bPreview(preview), m_report(report), m_journal(m_folder) {
    for (const ListingEntry& entry : listing.entries) {
        m_names.insert(nameKey(entry.name));
    }
}

void DocumentRenamer::rename(const std::string& name, const std::string& title,
                             const std::string& extension) {
    std::optional<std::string> newName = titleFileName(m_folder, title, extension);
    RenameOutcome outcome = RenameOutcome::InvalidName;
    if (title.empty())
        outcome = RenameOutcome::EmptyTitle;
    else if (newName && *newName == name)
        outcome = RenameOutcome::AlreadyTitled;
    else if (newName && !rename_journal::isSingleName(name))
        outcome = RenameOutcome::NotUndoable;
    else if (newName)
        outcome = m_bPreview ? preview(name, *newName) : move(name, *newName);

    if (outcome == RenameOutcome::Renamed && m_bPreview)
        m_report.previewed(name, *newName);
    else if (m_bPreview)
        m_report.previewKept(name, outcome);
    else if (outcome != RenameOutcome::Renamed)
        m_report.renameKept(name, outcome);
}

void DocumentRenamer::takeName(const std::string& name) {
    m_names.insert(nameKey(name));
}

RenameOutcome DocumentRenamer::preview(const std::string& name, const std::string& newName) {
    std::string key = nameKey(newName);
    // Only a change of case on Windows finds its own name.
    if (key != nameKey(name) && m_names.contains(key))
        return m_given.contains(key) ? RenameOutcome::SameTitle : RenameOutcome::NameTaken;
    m_names.erase(nameKey(name));
    m_names.insert(key);
    m_given.insert(key);
    return RenameOutcome::Renamed;
}

RenameOutcome DocumentRenamer::move(const std::string& name, const std::string& newName) {
    if (m_bJournalFailed)
        return RenameOutcome::NoJournal;
    std::string key = nameKey(newName);
    switch (moveFileNoReplace(m_folder + name, m_folder + newName)) {
        case MoveResult::Moved:
            break;
        case MoveResult::NoReplaceUnsupported:
            return RenameOutcome::Unsupported;
        case MoveResult::NotMoved:
            if (m_given.contains(key))
                return RenameOutcome::SameTitle;
            return fileIdentity(m_folder + newName) ? RenameOutcome::NameTaken
                                                    : RenameOutcome::MoveFailed;
    }
    if (!journal(name, newName))
        return RenameOutcome::NoJournal;
    m_given.insert(key);
    return RenameOutcome::Renamed;
}

bool DocumentRenamer::journal(const std::string& name, const std::string& newName) {
    std::optional<FileFault> fault;
    std::optional<FileIdentity> identity = fileIdentity(m_folder + newName);
    if (!m_journal.isOpen())
        fault = m_journal.open();
    if (!fault && identity)
        fault = m_journal.record({name, newName, *identity});
    else if (!fault)
        fault = FileFault::Other;
    if (!fault)
        return true;
    // A rename the journal does not hold could not be undone: it is taken back.
    moveFileNoReplace(m_folder + newName, m_folder + name);
    m_report.journalNotWritten(m_journal.path(), *fault);
    m_bJournalFailed = true;
    return false;
}
