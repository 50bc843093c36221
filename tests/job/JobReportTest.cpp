#include "JobReport.h"

#include <gtest/gtest.h>

#include "FileServices.h"
#include "ShellError.h"

namespace {

struct Described : ShellErrorInfo {
    std::string description() const override { return "拒绝访问。"; }
};

TEST(JobReport, namesTheHresultAndTheDescriptionOfAShellError) {
    JobReport report;
    report.documentFailed("a.doc", ShellError(shell_hr::kFail, std::make_shared<Described>()));
    EXPECT_EQ(report.text(),
              "处理文件出错：a.doc（错误代码 0x80004005：拒绝访问。），任务已停止。");
    EXPECT_TRUE(report.failed());
}

TEST(JobReport, namesTheFirstSkippedDocumentsAndCountsAll) {
    JobReport report;
    for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc"})
        report.skipped(name);
    report.renameKept("5.doc", RenameOutcome::Unsupported);
    report.outputNotWritten("o.csv", FileFault::NoSpace);
    EXPECT_EQ(report.text(),
              "写入输出文件失败：o.csv（磁盘空间不足），任务已停止。\n"
              "有 4 个文件已找不到，未处理：1.doc、2.doc、3.doc 等\n"
              "有 1 个文件保留原名（所在文件系统不支持不覆盖已有文件的改名）：5.doc");
}

TEST(JobReport, showsNamesSoThatNoneForgesALine) {
    const std::string forged = "a.docx\nb.docx → 恶意.docx\r";
    JobReport report;
    report.previewed(forged, "标题.docx", false);
    report.previewKept(forged, RenameOutcome::NameTaken);
    for (const std::string& line : report.previewLines())
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    EXPECT_EQ(report.previewLines().front(), "a.docx\\nb.docx → 恶意.docx\\r → 标题.docx");

    report.renameKept(forged, RenameOutcome::NameTaken);
    report.folderNotRead("/x\n/");
    EXPECT_EQ(report.text(),
              "无法读取目录：/x\\n/\n"
              "有 1 个文件保留原名（已有同名文件）：a.docx\\nb.docx → 恶意.docx\\r");
}

// One line per subfolder left out, up to ten, then only how many more; none fails the job.
TEST(JobReport, tellsTheFirstSubfoldersLeftOutAndCountsTheRest) {
    JobReport report;
    report.folderNotWalked("链接/", UnwalkedFolder::Reason::Link);
    for (int i = 1; i <= 11; ++i)
        report.folderNotWalked("d" + std::to_string(i) + "\n/", UnwalkedFolder::Reason::NotOpened);
    std::string text = report.text();
    EXPECT_TRUE(
        text.starts_with("子目录未处理：链接/（是符号链接或目录联接，不跟随）\n"
                         "子目录未处理：d1\\n/（无法打开（无权访问或已不存在））\n"))
        << text;
    EXPECT_TRUE(
        text.ends_with("子目录未处理：d9\\n/（无法打开（无权访问或已不存在））\n"
                       "另有 2 个子目录未处理。"))
        << text;
    EXPECT_FALSE(report.failed());
}

}  // namespace
