#include <gtest/gtest.h>

#include <filesystem>

#include "JobFixture.h"

namespace fs = std::filesystem;

namespace {

using ScanJob = JobFixture;

TEST_F(ScanJob, picksDocAndDocxFilesExactlyAndSkipsFolders) {
    for (const char* name : {"a.doc", "b.DOCX", "c.docx.bak", "d.docx"})
        folder.write(name);
    folder.makeFolder("e.doc");
    settings.getprops = 1;
    settings.propids = "0";
    runJob();
    EXPECT_EQ(doneCount(), 2);
    std::string text = output();
    EXPECT_TRUE(text.starts_with("H0\r\n")) << text;
    EXPECT_NE(text.find("\r\na.doc\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nd.docx\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.size(), std::string("H0\r\na.doc\r\nd.docx\r\n").size());
    EXPECT_EQ(report->text(), "");
    EXPECT_EQ(shell->liveObjects(), 0);
    EXPECT_EQ(shell->threadEnters(), 1);
    EXPECT_EQ(shell->threadLeaves(), 1);
}

TEST_F(ScanJob, postsProgressForEveryDocumentThenDone) {
    for (const char* name : {"1.doc", "2.doc", "3.doc"})
        folder.write(name);
    settings.rename = 1;
    runJob();
    std::vector<std::pair<unsigned, long>> expected{
        {WM_SCAN_PROGRESS, 1}, {WM_SCAN_PROGRESS, 2}, {WM_SCAN_PROGRESS, 3}, {WM_SCAN_DONE, 3}};
    EXPECT_EQ(notifier->notices(), expected);
}

TEST_F(ScanJob, renamesToTitleWithTheSameExtension) {
    folder.write("a.doc");
    folder.write("docx");
    shell->setTitle("a.doc", "报告");
    shell->setTitle("docx", "无点");
    settings.rename = 1;
    runJob();
    EXPECT_EQ(doneCount(), 2);
    EXPECT_TRUE(fs::exists(folder.file("报告.doc")));
    EXPECT_TRUE(fs::exists(folder.file("无点.docx")));
    EXPECT_FALSE(fs::exists(settings.fileout));
}

}  // namespace
