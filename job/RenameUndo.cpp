#include "RenameUndo.h"

#include <memory>
#include <variant>

#include "JobReport.h"
#include "ShownName.h"

namespace {

std::string refusalText(UndoRefusal refusal) {
    switch (refusal) {
        case UndoRefusal::Missing:
            return "已找不到改名后的文件";
        case UndoRefusal::Changed:
            return "已不是改名时的文件（被替换或修改过）";
        case UndoRefusal::OldNameTaken:
            return "原名处已有文件，未覆盖";
        case UndoRefusal::MoveFailed:
            return "改名失败（文件可能正被使用）";
        case UndoRefusal::NotSingleName:
            return "名称不是单个文件名（含路径分隔符，或为“.”“.."
                   "”），或目录不在任务目录之内，未处理";
        case UndoRefusal::NoFolder:
            return "所在子目录不存在或无法打开";
        case UndoRefusal::Unsupported:
            break;
    }
    return keptNameReason(RenameOutcome::Unsupported);
}

std::string blockedText(const Journal& journal, UndoBlocked blocked) {
    switch (blocked) {
        case UndoBlocked::AlreadyUndone:
            return "这些改名已于 " + journal.undone.value_or("") + " 撤销过，本次未做任何改动。";
        case UndoBlocked::NoRenames:
            return "改名记录中没有改名，本次未做任何改动。";
        case UndoBlocked::NoFolder:
            break;
    }
    return "目录不存在或无法打开（可能尚未连接），本次未做任何改动，可稍后再撤销。";
}

std::optional<UndoBlocked> blockedBefore(const Journal& journal) {
    if (journal.entries.empty())
        return UndoBlocked::NoRenames;
    if (journal.remaining() == 0)
        return UndoBlocked::AlreadyUndone;
    return std::nullopt;
}

// The folders of a journal's entries, one open at a time: an undo takes back the renames of
// one folder after another, so each is opened about once.
class EntryFolders {
  public:
    explicit EntryFolders(const Journal& journal) : m_journal(journal) {}

    // False when the journal's own folder cannot be opened.
    bool openTop() { return open(m_journal.folder); }
    // The handle on the entry's folder, or why there is none.
    std::variant<const FolderHandle*, UndoRefusal> of(const JournalEntry& entry) {
        if (!rename_journal::isFolderWithin(m_journal.folder, entry.folder))
            return UndoRefusal::NotSingleName;
        if (entry.folder != m_path)
            open(entry.folder);
        if (!m_handle)
            return UndoRefusal::NoFolder;
        return m_handle.get();
    }

  private:
    bool open(const std::string& folder) {
        m_handle = std::make_unique<FolderHandle>();
        m_path = folder;
        if (m_handle->open(folder))
            return true;
        m_handle.reset();
        return false;
    }

    const Journal& m_journal;
    std::string m_path;
    std::unique_ptr<FolderHandle> m_handle;
};

// A file's path from the journal's folder, as the report shows it.
std::string shownPath(const Journal& journal, const JournalEntry& entry, const std::string& name) {
    std::string below = entry.folder.starts_with(journal.folder)
                            ? entry.folder.substr(journal.folder.size())
                            : entry.folder;
    return shownName(below + name);
}

std::optional<UndoRefusal> restore(const FolderHandle& folder, const JournalEntry& entry) {
    // The folder's handle keeps a single name inside the folder; any other name could lead
    // out of it.
    if (!rename_journal::isSingleName(entry.oldName) ||
        !rename_journal::isSingleName(entry.newName))
        return UndoRefusal::NotSingleName;
    std::optional<FileIdentity> now = folder.identity(entry.newName);
    if (!now)
        return UndoRefusal::Missing;
    if (*now != entry.identity)
        return UndoRefusal::Changed;
    switch (folder.moveNoReplace(entry.newName, entry.oldName)) {
        case MoveResult::Moved:
            return std::nullopt;
        case MoveResult::NoReplaceUnsupported:
            return UndoRefusal::Unsupported;
        case MoveResult::NotMoved:
            break;
    }
    return folder.identity(entry.oldName) ? UndoRefusal::OldNameTaken : UndoRefusal::MoveFailed;
}

}  // namespace

UndoReport undoJournal(const Journal& journal) {
    UndoReport report;
    report.blocked = blockedBefore(journal);
    EntryFolders folders(journal);
    if (!report.blocked && !folders.openTop())
        report.blocked = UndoBlocked::NoFolder;
    if (report.blocked)
        return report;
    JournalMarks marks(journal);
    for (std::size_t i = journal.entries.size(); i-- > 0;) {
        if (journal.restored[i])
            continue;
        std::variant<const FolderHandle*, UndoRefusal> folder = folders.of(journal.entries[i]);
        std::optional<UndoRefusal> refusal =
            std::holds_alternative<UndoRefusal>(folder)
                ? std::get<UndoRefusal>(folder)
                : restore(*std::get<const FolderHandle*>(folder), journal.entries[i]);
        if (refusal) {
            report.failures.push_back({journal.entries[i], *refusal});
            continue;
        }
        ++report.restored;
        if (!marks.restored(i))
            report.notNoted = true;
    }
    if (!marks.finish())
        report.notNoted = true;
    return report;
}

std::string undoReportText(const Journal& journal, const UndoReport& report) {
    std::string text =
        "撤销重命名：" + shownName(journal.folder) + "（" + journal.started + " 的任务）\n";
    if (report.blocked)
        return text + blockedText(journal, *report.blocked);
    if (std::size_t remaining = journal.remaining(); remaining < journal.entries.size())
        text += "上次撤销后尚有 " + std::to_string(remaining) + " 个文件未恢复原名。\n";
    text += "已恢复原名 " + std::to_string(report.restored) + " 个文件";
    if (report.failures.empty()) {
        text += "。";
    } else {
        text += "，未恢复 " + std::to_string(report.failures.size()) + " 个：";
    }
    for (const UndoFailure& failure : report.failures) {
        text += "\n";
        text += shownPath(journal, failure.entry, failure.entry.newName) + "（原名 " +
                shownName(failure.entry.oldName) + "）：" + refusalText(failure.refusal);
    }
    if (report.notNoted) {
        text += "\n无法在改名记录中记下已恢复的文件（记录不可写）：" + shownName(journal.path) +
                "\n再次撤销时，这些文件将显示为找不到。";
    }
    return text;
}

std::string undoQuestion(const Journal& journal) {
    std::string text = "目录：" + shownName(journal.folder) + "\n时间：" + journal.started + "\n";
    if (std::optional<UndoBlocked> blocked = blockedBefore(journal))
        return text + blockedText(journal, *blocked);
    std::size_t remaining = journal.remaining();
    if (remaining < journal.entries.size()) {
        text += "上次撤销（" + journal.undone.value_or("") + "）后尚有 " +
                std::to_string(remaining) + " 个文件未恢复原名。\n";
    }
    return text + "将这次任务改名的 " + std::to_string(remaining) +
           " 个文件改回原名（已被替换或修改的文件不动）。确定撤销吗？";
}
