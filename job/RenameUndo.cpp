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
        case UndoRefusal::Unsupported:
            break;
    }
    return keptNameReason(RenameOutcome::Unsupported);
}

UndoRefusal moveFailure(const std::string& oldPath, MoveResult result) {
    if (result == MoveResult::NoReplaceUnsupported)
        return UndoRefusal::Unsupported;
    return fileIdentity(oldPath) ? UndoRefusal::OldNameTaken : UndoRefusal::MoveFailed;
}

}  // namespace

UndoReport undoJournal(const Journal& journal) {
    UndoReport report;
    if (journal.undone) {
        report.alreadyUndone = true;
        return report;
    }
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        std::string newPath = journal.folder + entry->newName;
        std::string oldPath = journal.folder + entry->oldName;
        std::optional<FileIdentity> now = fileIdentity(newPath);
        std::optional<UndoRefusal> refusal;
        if (!now) {
            refusal = UndoRefusal::Missing;
        } else if (*now != entry->identity) {
            refusal = UndoRefusal::Changed;
        } else if (MoveResult moved = moveFileNoReplace(newPath, oldPath);
                   moved != MoveResult::Moved) {
            refusal = moveFailure(oldPath, moved);
        }
        if (refusal)
            report.failures.push_back({*entry, *refusal});
        else
            ++report.restored;
    }
    rename_journal::markUndone(journal.path);
    return report;
}

std::string undoReportText(const Journal& journal, const UndoReport& report) {
    std::string text =
        "撤销重命名：" + shownName(journal.folder) + "（" + journal.started + " 的任务）\n";
    if (report.alreadyUndone) {
        return text + "这些改名已于 " + journal.undone.value_or("") + " 撤销过，本次未做任何改动。";
    }
    text += "已恢复原名 " + std::to_string(report.restored) + " 个文件";
    if (report.failures.empty())
        return text + "。";
    text += "，未恢复 " + std::to_string(report.failures.size()) + " 个：";
    for (const UndoFailure& failure : report.failures) {
        text += "\n";
        text += shownName(failure.entry.newName) + "（原名 " + shownName(failure.entry.oldName) +
                "）：" + refusalText(failure.refusal);
    }
    return text;
}

std::string undoQuestion(const Journal& journal) {
    std::string text = "目录：" + shownName(journal.folder) + "\n时间：" + journal.started + "\n";
    if (journal.undone)
        return text + "这次任务的改名已于 " + *journal.undone + " 撤销过。";
    return text + "将这次任务改名的 " + std::to_string(journal.entries.size()) +
           " 个文件改回原名（已被替换或修改的文件不动）。确定撤销吗？";
}
