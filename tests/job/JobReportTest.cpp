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

}  // namespace
