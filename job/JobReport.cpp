#include "JobReport.h"

#include <string>

#include "CCore.h"
#include "FileServices.h"
#include "ShellError.h"
#include "ShownName.h"

namespace {

// Enough names for the user to find the others.
constexpr std::size_t kNamesShown = 3;
// Folders are told one a line, with the reason; beyond these only their number.
constexpr std::size_t kFoldersShown = 10;

std::string unwalkedText(UnwalkedFolder::Reason reason) {
    switch (reason) {
        case UnwalkedFolder::Reason::NotOpened:
            return "无法打开（无权访问或已不存在）";
        case UnwalkedFolder::Reason::CutShort:
            return "读取出错，目录内容未能完整读出";
        case UnwalkedFolder::Reason::PathTooLong:
            return "路径过长";
        case UnwalkedFolder::Reason::Link:
            return "是符号链接或目录联接，不跟随";
        case UnwalkedFolder::Reason::MetBefore:
            return "与已处理的目录是同一目录";
        case UnwalkedFolder::Reason::OtherDevice:
            break;
    }
    return "是另一设备的挂载点，不进入";
}

std::string faultText(FileFault fault) {
    switch (fault) {
        case FileFault::Busy:
            return "文件正被其他程序使用";
        case FileFault::Denied:
            return "没有写入权限";
        case FileFault::NoFolder:
            return "所在目录不存在";
        case FileFault::NoSpace:
            return "磁盘空间不足";
        case FileFault::Exists:
            return "文件已存在";
        case FileFault::NotAFile:
            return "不是普通文件，而是管道、设备或目录，请另选输出文件";
        case FileFault::IsDocument:
            return "该文件是文档，写入会覆盖其内容，已保持原样，请另选输出文件";
        case FileFault::OfficeLockFile:
            return "LibreOffice 的锁定文件表明该文件已被打开";
        case FileFault::OwnerFile:
            return "旁边以 ~$ 开头的同名所有者文件表明该文件正被 Excel 或 WPS 打开；"
                   "若并未打开，这是异常退出时留下的文件，删除后即可重试";
        case FileFault::SheetFull:
            return "工作表已写满 1048576 行";
        case FileFault::WorkbookNotWritten:
            return "工作簿未能写成，磁盘可能已满或临时目录不可写";
        case FileFault::Other:
            break;
    }
    return "系统拒绝了操作";
}

std::string errorText(const ShellError& error) {
    std::string text = "错误代码 " + error.hexCode();
    if (error.info() && !error.info()->description().empty()) {
        text += "：" + error.info()->description();
    }
    return text;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string line;
    for (const std::string& text : texts) {
        if (!line.empty())
            line += "、";
        line += text;
    }
    return line;
}

}  // namespace

std::string keptNameReason(RenameOutcome outcome) {
    switch (outcome) {
        case RenameOutcome::Renamed:
            break;
        case RenameOutcome::EmptyTitle:
            return "标题为空";
        case RenameOutcome::AlreadyTitled:
            return "已是标题名";
        case RenameOutcome::InvalidName:
            return "标题不能用作文件名";
        case RenameOutcome::NameTaken:
            return "已有同名文件";
        case RenameOutcome::SameTitle:
            return "与另一文件标题相同";
        case RenameOutcome::MoveFailed:
            return "改名失败，文件可能正被使用";
        case RenameOutcome::Unsupported:
            return "所在文件系统不支持不覆盖已有文件的改名";
        case RenameOutcome::NoJournal:
            return "无法记录改名";
        case RenameOutcome::NotUndoable:
            return "原名或所在子目录名含反斜杠，改名后无法撤销";
    }
    return {};
}

std::string progressText(CCore& core, std::int32_t document) {
    return "正处理第 " + core.getStrInt(document) + " 个文件...";
}

std::string doneText(CCore& core, std::int32_t documents) {
    return "执行完成！共 " + core.getStrInt(documents) + " 个文件。";
}

void JobReport::outputNotOpened(const std::string& path, FileFault fault) {
    m_failure = "无法打开输出文件：" + shownName(path) + "（" + faultText(fault) + "）";
}

void JobReport::outputHeldByLockFile(const std::string& path, const std::string& lockPath,
                                     const std::string& holder) {
    std::string who = holder.empty() ? "" : " " + holder + " ";
    m_failure = "无法打开输出文件：" + path + "（旁边的 LibreOffice 锁定文件 " + lockPath +
                " 表明该文件正被" + who +
                "打开；若 LibreOffice 并未打开它，这是异常退出时留下的锁定文件，删除后即可重试）";
}

void JobReport::outputNotWritten(const std::string& path, FileFault fault) {
    m_failure =
        "写入输出文件失败：" + shownName(path) + "（" + faultText(fault) + "），任务已停止。";
}

void JobReport::shellNotConnected() {
    m_failure = "无法连接外壳对象，任务未执行。";
}

void JobReport::folderNotOpened(const std::string& folder) {
    m_failure = "无法打开目录：" + shownName(folder);
}

void JobReport::folderNotOpened(const std::string& folder, const ShellError& error) {
    m_failure = "无法打开目录：" + shownName(folder) + "（" + errorText(error) + "）";
}

void JobReport::folderNotRead(const std::string& folder) {
    m_failure = "无法读取目录：" + shownName(folder);
}

void JobReport::folderCutShort(const std::string& folder) {
    m_failure = "读取目录出错：" + shownName(folder) + "，目录内容未能完整读出，任务已停止。";
}

void JobReport::folderVanished(const std::string& folder) {
    m_failure = "目录在处理中已不存在：" + shownName(folder) + "，任务已停止。";
}

void JobReport::documentFailed(const std::string& name, const ShellError& error) {
    m_failure = "处理文件出错：" + shownName(name) + "（" + errorText(error) + "），任务已停止。";
}

void JobReport::jobFailed(const std::string& what) {
    m_failure = "任务出错：" + what + "，任务已停止。";
}

void JobReport::folderNotWalked(const std::string& relative, UnwalkedFolder::Reason reason) {
    ++m_nUnwalked;
    if (m_unwalkedLines.size() < kFoldersShown) {
        m_unwalkedLines.push_back("子目录未处理：" + shownName(relative) + "（" +
                                  unwalkedText(reason) + "）");
    }
}

void JobReport::skipped(const std::string& name) {
    m_skipped.add(name);
}

void JobReport::unreadable(const std::string& name) {
    m_unreadable.add(name);
}

void JobReport::renamed(bool fromText) {
    ++m_nRenamed;
    m_nFromText += fromText ? 1 : 0;
}

void JobReport::renameKept(const std::string& name, RenameOutcome outcome) {
    if (outcome != RenameOutcome::EmptyTitle && outcome != RenameOutcome::AlreadyTitled)
        m_kept[outcome].add(name);
}

void JobReport::journalNotWritten(const std::string& path, FileFault fault) {
    m_journalFailure = "无法写入改名记录：" + shownName(path) + "（" + faultText(fault) +
                       "），为保证改名可以撤销，其余文件未改名。";
}

void JobReport::previewed(const std::string& name, const std::string& newName, bool fromText) {
    renamed(fromText);
    m_bPreviewed = true;
    m_previewRows.push_back({shownName(name), shownName(newName), fromText ? "正文" : ""});
}

void JobReport::previewKept(const std::string& name, RenameOutcome outcome) {
    m_previewRows.push_back({shownName(name), "", keptNameReason(outcome)});
}

std::vector<std::string> JobReport::previewLines() const {
    std::vector<std::string> lines;
    lines.reserve(m_previewRows.size());
    for (const PreviewRow& row : m_previewRows) {
        if (row.newName.empty())
            lines.push_back(row.name + "：保留原名（" + row.note + "）");
        else
            lines.push_back(row.name + " → " + row.newName +
                            (row.note.empty() ? "" : "（取自正文）"));
    }
    return lines;
}

void JobReport::clamped(const std::vector<std::string>& fields) {
    m_clampedFields = fields;
}

std::string JobReport::text() const {
    std::string text = m_failure;
    auto addLine = [&text](const std::string& line) {
        if (!text.empty())
            text += "\n";
        text += line;
    };
    if (!m_journalFailure.empty())
        addLine(m_journalFailure);
    for (const std::string& line : m_unwalkedLines) {
        addLine(line);
    }
    if (m_nUnwalked > static_cast<std::int32_t>(m_unwalkedLines.size())) {
        addLine("另有 " + std::to_string(m_nUnwalked - m_unwalkedLines.size()) +
                " 个子目录未处理。");
    }
    if (m_skipped.count() > 0) {
        addLine("有 " + std::to_string(m_skipped.count()) + " 个文件已找不到，未处理：" +
                m_skipped.names());
    }
    if (m_unreadable.count() > 0) {
        addLine("有 " + std::to_string(m_unreadable.count()) +
                " 个文件无法读取（无权访问、读取出错或正被其他程序独占），属性留空：" +
                m_unreadable.names());
    }
    if (m_nFromText > 0) {
        addLine(std::string(m_bPreviewed ? "将改名 " : "已改名 ") + std::to_string(m_nRenamed) +
                " 个文件，其中 " + std::to_string(m_nFromText) + " 个新名取自正文。");
    }
    for (const auto& [outcome, kept] : m_kept) {
        addLine("有 " + std::to_string(kept.count()) + " 个文件保留原名（" +
                keptNameReason(outcome) + "）：" + kept.names());
    }
    if (!m_clampedFields.empty()) {
        addLine("属性序号超出范围，已按最接近的有效序号处理：" + joined(m_clampedFields));
    }
    return text;
}

void JobReport::NameTally::add(const std::string& name) {
    ++m_nCount;
    if (m_first.size() < kNamesShown)
        m_first.push_back(shownName(name));
}

std::string JobReport::NameTally::names() const {
    std::string names = joined(m_first);
    if (m_nCount > static_cast<std::int32_t>(m_first.size()))
        names += " 等";
    return names;
}
