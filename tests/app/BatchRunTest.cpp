#include "BatchRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CCore.h"
#include "TempDir.h"
#include "TestShell.h"

#ifdef TARNEL_BATCH_PROGRAM
#include <sys/wait.h>

#include "DocxFixture.h"
#endif

namespace fs = std::filesystem;

namespace {

BatchOptions parsed(const std::vector<std::string>& args) {
    BatchParse parse = parseBatchOptions(args);
    EXPECT_TRUE(parse.options) << parse.error;
    return parse.options.value_or(BatchOptions{});
}

std::string usageErrorOf(const std::vector<std::string>& args) {
    BatchParse parse = parseBatchOptions(args);
    EXPECT_FALSE(parse.options);
    return parse.error;
}

TEST(BatchOptions, turnsTheCommandLineIntoJobSettings) {
    JobSettings settings =
        parsed({"--props", "0,21", "--out", "o.csv", "--full-name", "--rename", "dir"}).settings;
    EXPECT_EQ(settings.pathuser, "dir");
    EXPECT_EQ(settings.propids, "0,21");
    EXPECT_EQ(settings.fileout, "o.csv");
    EXPECT_EQ(settings.getprops, 1);
    EXPECT_EQ(settings.colfullname, 1);
    EXPECT_EQ(settings.rename, 1);

    settings = parsed({"--rename", "--", "-odd"}).settings;
    EXPECT_EQ(settings.pathuser, "-odd");
    EXPECT_EQ(settings.getprops, 0);
    EXPECT_EQ(settings.colfullname, 0);
    EXPECT_TRUE(parsed({"--help"}).help);
}

TEST(BatchOptions, refusesIncompleteOrUnknownArguments) {
    EXPECT_EQ(usageErrorOf({"--props", "0", "dir"}), "--props 与 --out 须同时指定。");
    EXPECT_EQ(usageErrorOf({"--rename"}), "缺少要处理的目录。");
    EXPECT_EQ(usageErrorOf({"--rename", "a", "b"}), "只能指定一个目录：b");
    EXPECT_EQ(usageErrorOf({"--out"}), "选项缺少参数：--out");
    EXPECT_EQ(usageErrorOf({"--verbose", "dir"}), "未知选项：--verbose");
}

class BatchRun : public ::testing::Test {
  protected:
    int run(bool terminal = false) {
        return runBatchJob(settings, std::make_shared<CCore>(), shell, out, err, terminal);
    }

    TempDir folder;
    JobSettings settings;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
    std::ostringstream out, err;
};

TEST_F(BatchRun, appliesTheDialogsChecksWithTheirMessages) {
    settings.rename = 1;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(err.str(), "要处理的目录不能为空！\n");
    settings.pathuser = folder.path();
    settings.rename = 0;
    err.str("");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(err.str(), "没有选择动作！\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(shell->threadEnters(), 0);
}

TEST_F(BatchRun, runsTheJobAndPrintsTheDoneLine) {
    folder.write("a.doc");
    folder.write("b.docx");
    settings.pathuser = folder.path();
    settings.getprops = 1;
    settings.propids = "0";
    settings.fileout = folder.file("out.csv");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(out.str(), "执行完成！共 2 个文件。\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(readFile(settings.fileout).substr(0, 4), "H0\r\n");
}

TEST_F(BatchRun, exitsWithOneWhenTheJobReportsAnError) {
    folder.write("a.doc");
    shell->failDetailsOf("a.doc", static_cast<std::int32_t>(0x80004005U));
    settings.pathuser = folder.path();
    settings.getprops = 1;
    settings.propids = "0";
    settings.fileout = folder.file("out.csv");
    EXPECT_EQ(run(true), 1);
    EXPECT_EQ(out.str(), "执行完成！共 1 个文件。\n");
    EXPECT_NE(err.str().find("处理文件出错：a.doc（错误代码 0x80004005），任务已停止。\n"),
              std::string::npos)
        << err.str();
}

#ifdef TARNEL_BATCH_PROGRAM
// The program itself, with the native backend, over real documents.

int runProgram(const std::string& arguments, const std::string& outFile) {
    std::string command =
        std::string(TARNEL_BATCH_PROGRAM) + " " + arguments + " >" + outFile + " 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BatchProgram, extractsAndRenamesRealDocuments) {
    TempDir dir;
    DocxContent content;
    content.title = "季度报告";
    content.creator = "王, 伟";
    writeDocx(dir.file("a.docx"), content);
    content.title = "../逃逸";
    writeDocx(dir.file("b.docx"), content);
    std::string csv = dir.file("out.csv");
    std::string log = dir.file("log.txt");
    EXPECT_EQ(runProgram("--props 0,20,21 --out '" + csv + "' --rename '" + dir.path() + "'", log),
              0)
        << readFile(log);
    EXPECT_EQ(readFile(log), "执行完成！共 2 个文件。\n");
    std::string text = readFile(csv);
    EXPECT_NE(text.find("a.docx,\"王, 伟\",季度报告\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("b.docx,\"王, 伟\",../逃逸\r\n"), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(dir.file("季度报告.docx")));
    EXPECT_TRUE(fs::exists(dir.file("b.docx")));
}

TEST(BatchProgram, exitsWithTwoOnAUsageErrorAndExplainsItself) {
    TempDir dir;
    std::string log = dir.file("log.txt");
    EXPECT_EQ(runProgram("--props 0 " + dir.path(), log), 2);
    EXPECT_NE(readFile(log).find("--props 与 --out 须同时指定。"), std::string::npos);
    EXPECT_EQ(runProgram("--help", log), 0);
    EXPECT_NE(readFile(log).find("用法：tarnel-batch"), std::string::npos);
}
#endif

}  // namespace
