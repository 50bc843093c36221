#include "DocumentRenamer.h"

#include "AsciiCase.h"
#include "FileNameRules.h"
#include "PlaceholderTitle.h"
#include "ShellAccess.h"

namespace {

// Enough for any real folder's copies of one document; beyond it a document keeps its
// name rather than the job trying names without end.
constexpr int kLastNumber = 999;

// Names as the file system compares them.
std::string nameKey(const std::string& name) {
#ifdef _WIN32
    return ascii_case::upper(name);
#else
    return name;
#endif
}

bool isTaken(RenameOutcome outcome) {
    return outcome == RenameOutcome::NameTaken || outcome == RenameOutcome::SameTitle;
}

}  // namespace

std::variant<RenameRules, std::string> RenameRules::of(const JobSettings& settings) {
    std::variant<NameTemplate, std::string> parsed = NameTemplate::parse(settings.nametemplate);
    if (const std::string* refusal = std::get_if<std::string>(&parsed))
        return *refusal;
    return RenameRules{std::get<NameTemplate>(std::move(parsed)), settings.texttitle != 0,
                       settings.fixnames != 0, settings.numberdups != 0};
}

DocumentRenamer::DocumentRenamer(std::string folder, const FolderListing& listing,
                                 RenameRules rules, bool preview, JobReport& report)
    : m_folder(std::move(folder)),
      m_rules(std::move(rules)),
      m_bPreview(preview),
      m_report(report),
      m_journal(m_folder) {
    enterFolder(m_folder, {}, listing);
}

void DocumentRenamer::enterFolder(std::string folder, std::string relative,
                                  const FolderListing& listing) {
    m_folder = std::move(folder);
    m_relative = std::move(relative);
    m_bUndoableFolder = rename_journal::isFolderWithin({}, m_relative);
    m_names.clear();
    m_given.clear();
    for (const ListingEntry& entry : listing.entries) {
        m_names.insert(nameKey(entry.name));
    }
}

void DocumentRenamer::rename(const std::string& name, const DocumentFacts& facts) {
    bool fromText = false;
    std::string newStem = stem(facts, fromText);
    std::string newName;
    RenameOutcome outcome = newStem.empty() ? RenameOutcome::EmptyTitle
                                            : place(name, newStem, extensionOf(name), newName);
    if (outcome == RenameOutcome::Renamed && m_bPreview)
        m_report.previewed(m_relative + name, m_relative + newName, fromText);
    else if (outcome == RenameOutcome::Renamed)
        m_report.renamed(fromText);
    else if (m_bPreview)
        m_report.previewKept(m_relative + name, outcome);
    else
        m_report.renameKept(m_relative + name, outcome);
}

void DocumentRenamer::takeName(const std::string& name) {
    m_names.insert(nameKey(name));
}

std::string DocumentRenamer::stem(const DocumentFacts& facts, bool& fromText) const {
    std::optional<std::string> titleText;
    auto value = [&](int column) {
        if (column != TITLE_COLUMN)
            return facts.detail(column);
        if (!titleText)
            titleText = title(facts, fromText);
        return *titleText;
    };
    // The default template is the title itself, exactly as it has always been used.
    return m_rules.nameTemplate.isDefault() ? value(TITLE_COLUMN)
                                            : m_rules.nameTemplate.render(value);
}

std::string DocumentRenamer::title(const DocumentFacts& facts, bool& fromText) const {
    std::string title = facts.detail(TITLE_COLUMN);
    if (m_rules.textTitle && isPlaceholderTitle(title)) {
        if (std::string text = facts.text(); !text.empty()) {
            fromText = true;
            return text;
        }
    }
    return title;
}

std::optional<std::string> DocumentRenamer::candidate(const std::string& stem,
                                                      const std::string& extension,
                                                      int number) const {
    std::string suffix = number == 1 ? "" : " (" + std::to_string(number) + ")";
    return composeFileName(m_folder, stem, suffix, extension, m_rules.fixNames);
}

RenameOutcome DocumentRenamer::place(const std::string& name, const std::string& stem,
                                     const std::string& extension, std::string& newName) {
    std::optional<std::string> plain = candidate(stem, extension, 1);
    if (!plain)
        return RenameOutcome::InvalidName;
    if (*plain == name)
        return RenameOutcome::AlreadyTitled;
    if (!rename_journal::isSingleName(name) || !m_bUndoableFolder)
        return RenameOutcome::NotUndoable;
    if (!m_bPreview && m_bJournalFailed)
        return RenameOutcome::NoJournal;
    // Why the plain name could not be had, told when no numbered one can be had either.
    std::optional<RenameOutcome> plainRefusal;
    int lastNumber = m_rules.numberDuplicates ? kLastNumber : 1;
    for (int number = 1; number <= lastNumber; ++number) {
        std::optional<std::string> next = number == 1 ? plain : candidate(stem, extension, number);
        if (!next)
            break;
        // A document numbered by an earlier job keeps its number.
        if (*next == name)
            return RenameOutcome::AlreadyTitled;
        std::optional<RenameOutcome> taken = takenBy(name, *next);
        RenameOutcome outcome = taken        ? *taken
                                : m_bPreview ? RenameOutcome::Renamed
                                             : move(name, *next);
        if (outcome == RenameOutcome::Renamed) {
            given(name, *next);
            newName = *next;
            return outcome;
        }
        if (!isTaken(outcome))
            return outcome;
        if (!plainRefusal)
            plainRefusal = outcome;
    }
    return *plainRefusal;
}

std::optional<RenameOutcome> DocumentRenamer::takenBy(const std::string& name,
                                                      const std::string& candidate) const {
    std::string key = nameKey(candidate);
    // Only a change of case on Windows finds its own name.
    if (key == nameKey(name) || !m_names.contains(key))
        return std::nullopt;
    return m_given.contains(key) ? RenameOutcome::SameTitle : RenameOutcome::NameTaken;
}

RenameOutcome DocumentRenamer::move(const std::string& name, const std::string& newName) {
    switch (moveFileNoReplace(m_folder + name, m_folder + newName)) {
        case MoveResult::Moved:
            break;
        case MoveResult::NoReplaceUnsupported:
            return RenameOutcome::Unsupported;
        case MoveResult::NotMoved:
            // Made since the listing, or a name the file system compares more loosely.
            if (!fileIdentity(m_folder + newName))
                return RenameOutcome::MoveFailed;
            m_names.insert(nameKey(newName));
            return RenameOutcome::NameTaken;
    }
    return journal(name, newName) ? RenameOutcome::Renamed : RenameOutcome::NoJournal;
}

void DocumentRenamer::given(const std::string& name, const std::string& newName) {
    m_names.erase(nameKey(name));
    m_names.insert(nameKey(newName));
    m_given.insert(nameKey(newName));
}

bool DocumentRenamer::journal(const std::string& name, const std::string& newName) {
    std::optional<FileFault> fault;
    std::optional<FileIdentity> identity = fileIdentity(m_folder + newName);
    if (!m_journal.isOpen())
        fault = m_journal.open();
    if (!fault && identity)
        fault = m_journal.record({name, newName, *identity, m_relative});
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
