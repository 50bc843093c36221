#include "RenameUndo.h"

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
            return "名称不是单个文件名（含路径分隔符，或为“.”“..”），未处理";
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
    FolderHandle folder;
    if (!report.blocked && !folder.open(journal.folder))
        report.blocked = UndoBlocked::NoFolder;
    if (report.blocked)
        return report;
    JournalMarks marks(journal);
    for (std::size_t i = journal.entries.size(); i-- > 0;) {
        if (journal.restored[i])
            continue;
        if (std::optional<UndoRefusal> refusal = restore(folder, journal.entries[i])) {
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
        text += shownName(failure.entry.newName) + "（原名 " + shownName(failure.entry.oldName) +
                "）：" + refusalText(failure.refusal);
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
