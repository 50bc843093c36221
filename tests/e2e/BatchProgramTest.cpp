// tarnel-batch.exe end to end: the real program over a real folder, its shell the stand-in.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "ConfigHome.h"
#include "DocumentFolders.h"
#include "StandInFiles.h"
#include "WineCorpus.h"
#include "WorkbookSheet.h"

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

// The shell's UTF-16 reaches the workbook whole, where the code page's CSV has "?" for
// each UTF-16 unit it lacks.
TEST_F(BatchProgramTest, writesAWorkbookOfTheShellsWholeTextsBesideTheCodePagesCsv) {
    TempDir documents;
    documents.write("a.doc");
    documents.write("b.doc");
    shell.heading(21, L"标题");
    shell.text(L"a.doc", 21, L"\U00020000 \U0001F600 \uD55C\uAD6D \u1E9E");
    shell.text(L"b.doc", 21, L"=1+2");
    const std::string workbook = outFolder.file("属性.xlsx");
    const std::string csv = outFolder.file("属性.csv");
    for (const std::string& out : {workbook, csv})
        EXPECT_EQ(runBatch({"--props", "21", "--out", out, documents.path()}), 0u) << errors;
    std::optional<WorkbookSheet> sheet = readWorkbookSheet(workbook);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->allText);
    EXPECT_EQ(sheet->name, utf8(u8"属性"));
    const std::vector<std::vector<std::string>> rows = {
        {utf8(u8"标题")}, {utf8(u8"𠀀 😀 한국 ẞ")}, {"=1+2"}};
    EXPECT_EQ(sheet->rows, rows);
    EXPECT_EQ(readFile(csv), "标题\r\n?? ?? ?? ?\r\n'=1+2\r\n");
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

// Every rename option at once over real documents: the shell's title where it is one, else
// the reader's text; names mended and numbered, previewed as renamed, and undone in full.
TEST_F(BatchProgramTest, renamesWithEveryOptionAsPreviewedAndUndoesIt) {
    const std::string corpus = corpusFolder("poi");
    if (corpus.empty())
        GTEST_SKIP() << "no corpus beside the project";
    ConfigHome home;
    TempDir folder;
    ASSERT_TRUE(
        CopyFileA((corpus + "\\stress009.docx").c_str(), folder.file("a.docx").c_str(), TRUE));
    ASSERT_TRUE(CopyFileA((corpus + "\\61490.doc").c_str(), folder.file("b.doc").c_str(), TRUE));
    for (const char* name : {"c.docx", "d.docx", "e.docx"})
        folder.write(name, name);
    shell.text(L"a.docx", 21, L"");  // known to the shell, without a title
    shell.text(L"b.doc", 21, L"文档1");
    shell.text(L"c.docx", 21, L"A/B");
    shell.text(L"d.docx", 21, L"报告");
    shell.text(L"e.docx", 21, L"报告");
    const std::map<std::string, std::string> before = folderContent(folder.path());
    const std::map<std::string, std::string> renames = {
        {"a.docx", "NANDrive 微型固态硬盘设计方案.docx"},
        {"b.doc", "居中的大标题.doc"},
        {"c.docx", "A／B.docx"},
        {"d.docx", "报告.docx"},
        {"e.docx", "报告 (2).docx"}};
    const std::vector<std::string> options = {"--rename",        "--text-title",
                                              "--fix-names",     "--number-duplicates",
                                              "--name-template", "{21}"};

    std::vector<std::string> preview = options;
    preview.insert(preview.end(), {"--dry-run", folder.path()});
    EXPECT_EQ(runBatch(preview), 0u) << errors;
    for (const auto& [name, renamed] : renames)
        EXPECT_NE(output.find(name + " → " + renamed), std::string::npos) << output;
    EXPECT_EQ(folderContent(folder.path()), before);

    std::vector<std::string> real = options;
    real.push_back(folder.path());
    EXPECT_EQ(runBatch(real), 0u) << errors;
    std::map<std::string, std::string> after;
    for (const auto& [name, content] : before)
        after[renames.at(name)] = content;
    EXPECT_EQ(folderContent(folder.path()), after);

    EXPECT_EQ(runBatch({"--undo"}), 0u) << output << errors;
    EXPECT_EQ(folderContent(folder.path()), before);
}

// A tree through the stand-in: each folder's documents, then its subfolders, every folder
// opened by the shell in turn and released; renames in their own folders, previewed by their
// paths from the top, and undone. An owner file the table knows is still no document.
TEST_F(BatchProgramTest, walksSubfoldersForTheCsvThePreviewTheRenamesAndTheUndo) {
    ConfigHome home;
    TempDir top;
    ASSERT_TRUE(CreateDirectoryA(top.file("子目录").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(top.file("子目录\\深层").c_str(), nullptr));
    top.write("甲.doc", "甲");
    top.write("子目录\\乙.doc", "乙");
    top.write("子目录\\深层\\丙.docx", "丙");
    top.write("子目录\\~$乙.doc", std::string(162, 'o'));
    shell.heading(21, L"标题");
    shell.text(L"甲.doc", 21, L"一");
    shell.text(L"乙.doc", 21, L"二");
    shell.text(L"丙.docx", 21, L"三");
    shell.text(L"~$乙.doc", 21, L"占用");
    const std::string csv = outFolder.file("out.csv");

    EXPECT_EQ(runBatch({"--props", "21", "--out", csv, "--full-name", "--subfolders", top.path()}),
              0u)
        << errors;
    EXPECT_EQ(output, "执行完成！共 3 个文件。\r\n");
    EXPECT_EQ(readFile(csv), "全文件名,标题\r\n" + top.file("甲.doc") + ",一\r\n" +
                                 top.file("子目录\\乙.doc") + ",二\r\n" +
                                 top.file("子目录\\深层\\丙.docx") + ",三\r\n");

    EXPECT_EQ(runBatch({"--rename", "--dry-run", "--subfolders", top.path()}), 0u) << errors;
    EXPECT_EQ(output,
              "甲.doc → 一.doc\r\n子目录\\乙.doc → 子目录\\二.doc\r\n"
              "子目录\\深层\\丙.docx → 子目录\\深层\\三.docx\r\n"
              "执行完成！共 3 个文件。（预览，未改动任何文件）\r\n");

    EXPECT_EQ(runBatch({"--rename", "--subfolders", top.path()}), 0u) << errors;
    for (const char* name :
         {"一.doc", "子目录\\二.doc", "子目录\\深层\\三.docx", "子目录\\~$乙.doc"})
        EXPECT_NE(GetFileAttributesA(top.file(name).c_str()), INVALID_FILE_ATTRIBUTES) << name;

    EXPECT_EQ(runBatch({"--undo"}), 0u) << output << errors;
    for (const char* name : {"甲.doc", "子目录\\乙.doc", "子目录\\深层\\丙.docx"})
        EXPECT_NE(GetFileAttributesA(top.file(name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    EXPECT_TRUE(shell.everyReferenceReleased());
}

// The kind list chooses the files, the shell answers for every kind, and each document keeps
// its own extension.
TEST_F(BatchProgramTest, takesTheKindsOfItsListAndKeepsTheirExtensions) {
    ConfigHome home;
    TempDir folder;
    for (const char* name : {"表.xls", "演示.pptx", "文.doc", "文字.wps"})
        folder.write(name, name);
    shell.heading(21, L"标题");
    shell.text(L"表.xls", 21, L"预算");
    shell.text(L"演示.pptx", 21, L"汇报");
    shell.text(L"文.doc", 21, L"合同");
    shell.text(L"文字.wps", 21, L"通知");
    const std::string csv = outFolder.file("out.csv");

    EXPECT_EQ(runBatch({"--props", "21", "--out", csv, "--types", "xls,pptx,wps", "--rename",
                        folder.path()}),
              0u)
        << errors;
    EXPECT_EQ(output, "执行完成！共 3 个文件。\r\n");
    const std::string lines = readFile(csv);
    EXPECT_EQ(lines.rfind("标题\r\n", 0), 0u) << lines;
    for (const char* line : {"\n预算\r\n", "\n汇报\r\n", "\n通知\r\n"})
        EXPECT_NE(lines.find(line), std::string::npos) << lines;
    EXPECT_EQ(folderContent(folder.path()),
              (std::map<std::string, std::string>{{"预算.xls", "表.xls"},
                                                  {"汇报.pptx", "演示.pptx"},
                                                  {"文.doc", "文.doc"},
                                                  {"通知.wps", "文字.wps"}}));
    EXPECT_TRUE(shell.everyReferenceReleased());
}

}  // namespace
