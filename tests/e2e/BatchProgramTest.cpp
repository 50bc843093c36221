// tarnel-batch.exe end to end: the real program over a real folder, its shell the stand-in.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "DocumentFolders.h"
#include "StandInFiles.h"

namespace {

class BatchProgramTest : public ::testing::Test {
  protected:
    // Runs the program to its end and keeps what it wrote; its exit code.
    DWORD runBatch(const std::vector<std::string>& arguments) {
        ChildProcess batch(programFolder() + "tarnel-batch.exe", arguments);
        EXPECT_TRUE(batch.started());
        std::optional<DWORD> code = batch.wait();
        EXPECT_TRUE(code) << "tarnel-batch did not end";
        output = batch.output();
        errors = batch.errors();
        return code.value_or(~0u);
    }

    StandInFiles shell;
    TempDir outFolder;
    std::string output;
    std::string errors;
};

TEST_F(BatchProgramTest, writesTheGbkCsvAndRenamesToSoundTitlesOnly) {
    TitledDocuments documents(shell);
    const std::string csv = outFolder.file("属性.csv");
    EXPECT_EQ(runBatch({"--props", TitledDocuments::kColumns, "--out", csv, "--full-name",
                        "--rename", documents.path()}),
              0u)
        << errors;
    EXPECT_EQ(output,
              "执行完成！共 " + std::to_string(documents.documentCount()) + " 个文件。\r\n");
    EXPECT_EQ(readFile(csv), documents.expectedCsv());
    EXPECT_EQ(folderContent(documents.path()), documents.expectedContent());
    EXPECT_EQ(GetFileAttributesA((documents.path() + "..\\逃出.doc").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(shell.everyReferenceReleased());
}

TEST_F(BatchProgramTest, aFailingDetailEndsTheJobWithItsCodeAndDescriptionAndReleasesAll) {
    FailingDocuments documents(shell);
    const std::string csv = outFolder.file("out.csv");
    EXPECT_EQ(runBatch({"--props", FailingDocuments::kColumns, "--out", csv, documents.path()}),
              1u);
    EXPECT_NE(errors.find("处理文件出错：" + documents.failing() +
                          "（错误代码 0x80030005：文档被锁定），任务已停止。"),
              std::string::npos)
        << errors;
    EXPECT_EQ(output, "执行完成！共 2 个文件。\r\n");
    EXPECT_EQ(readFile(csv), documents.expectedCsv());
    EXPECT_TRUE(shell.everyReferenceReleased());
}

}  // namespace
