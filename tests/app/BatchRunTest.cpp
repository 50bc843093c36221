#include "BatchRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CCore.h"
#include "ConfigHome.h"
#include "DocumentTypes.h"
#include "FileServices.h"
#include "RenameJournal.h"
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

TEST(BatchOptions, takesAnUndoWithOrWithoutItsJournalAndAPreviewOfRenames) {
    BatchOptions options = parsed({"--undo"});
    EXPECT_TRUE(options.undo);
    EXPECT_EQ(options.journal, "");
    EXPECT_EQ(parsed({"--undo", "j.journal"}).journal, "j.journal");
    options = parsed({"--rename", "--dry-run", "dir"});
    EXPECT_TRUE(options.preview);
    EXPECT_EQ(options.settings.pathuser, "dir");
    EXPECT_EQ(usageErrorOf({"--dry-run", "dir"}), "--dry-run 须与 --rename 同用。");
    EXPECT_EQ(usageErrorOf({"--undo", "j", "dir"}), "--undo 不能与其他选项同用。");
    EXPECT_EQ(usageErrorOf({"--rename", "--undo"}), "--undo 不能与其他选项同用。");
    EXPECT_EQ(usageErrorOf({"--undo", ""}), "--undo 的改名记录不能为空。");
}

TEST(BatchOptions, takesTheRenameOptionsOnlyWithARename) {
    JobSettings settings = parsed({"--rename", "--text-title", "--fix-names", "--number-duplicates",
                                   "--name-template", "{20} - {21}", "dir"})
                               .settings;
    EXPECT_EQ(settings.texttitle + settings.fixnames + settings.numberdups, 3);
    EXPECT_EQ(settings.nametemplate, "{20} - {21}");
    settings = parsed({"--rename", "dir"}).settings;
    EXPECT_EQ(settings.texttitle + settings.fixnames + settings.numberdups, 0);
    EXPECT_EQ(settings.nametemplate, "{21}");

    EXPECT_EQ(usageErrorOf({"--fix-names", "dir"}), "--fix-names 须与 --rename 同用。");
    EXPECT_EQ(usageErrorOf({"--name-template", "{21}", "dir"}),
              "--name-template 须与 --rename 同用。");
    EXPECT_EQ(usageErrorOf({"--rename", "--name-template", "", "dir"}),
              "--name-template 的模板不能为空。");
    EXPECT_EQ(usageErrorOf({"--rename", "--name-template", "{21}", "--name-template", "{20}", "d"}),
              "选项只能指定一次：--name-template");
    EXPECT_EQ(usageErrorOf({"--rename", "--name-template"}), "选项缺少参数：--name-template");
    EXPECT_EQ(usageErrorOf({"--undo", "--text-title"}), "--undo 不能与其他选项同用。");
}

TEST(BatchOptions, refusesIncompleteOrUnknownArguments) {
    EXPECT_EQ(usageErrorOf({"--props", "0", "dir"}), "--props 与 --out 须同时指定。");
    EXPECT_EQ(usageErrorOf({"--rename"}), "缺少要处理的目录。");
    EXPECT_EQ(usageErrorOf({"--rename", "a", "b"}), "只能指定一个目录：b");
    EXPECT_EQ(usageErrorOf({"--out"}), "选项缺少参数：--out");
    EXPECT_EQ(usageErrorOf({"--verbose", "dir"}), "未知选项：--verbose");
    EXPECT_EQ(usageErrorOf({"--props", "0", "--out", "a.csv", "--props", "21", "dir"}),
              "选项只能指定一次：--props");
    EXPECT_EQ(usageErrorOf({"--out", "a.csv", "--props", "0", "--out", "b.csv", "dir"}),
              "选项只能指定一次：--out");
    EXPECT_EQ(usageErrorOf({"--rename", "--types", "doc,txt", "dir"}),
              std::get<std::string>(DocumentTypes::parse("doc,txt")));
}

class BatchRun : public ::testing::Test {
  protected:
    int run(bool terminal = false) {
        return runBatchJob(settings, std::make_shared<CCore>(), shell, out, err, terminal);
    }

    // The documents, each with its title, renamed by a job.
    void renameTitled(const std::vector<std::pair<std::string, std::string>>& documents) {
        for (const auto& [name, title] : documents) {
            folder.write(name, name);
            shell->setTitle(name, title);
        }
        settings.pathuser = folder.path();
        settings.rename = 1;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> names;
        for (const ListingEntry& entry : listFolder(folder.path()).entries)
            names.push_back(entry.name);
        return names;
    }
    int undo(const std::string& journal = {}) {
        out.str("");
        err.str("");
        return runBatchUndo(journal, out, err);
    }

    ConfigHome home;
    TempDir folder;
    JobSettings settings;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
    std::ostringstream out, err;
};

TEST_F(BatchRun, undoRestoresOnlyTheFilesThatAreStillTheSameAndNeverOverwrites) {
    renameTitled({{"a.doc", "ta"},
                  {"b.doc", "tb"},
                  {"c.doc", "tc"},
                  {"d.doc", "td"},
                  {"e.doc", "te"},
                  {"f.doc", ""}});
    ASSERT_EQ(run(), 0) << err.str();
    ASSERT_EQ(names(), (std::vector<std::string>{"f.doc", "ta.doc", "tb.doc", "tc.doc", "td.doc",
                                                 "te.doc"}));
    folder.write("tb.doc", "edited since");  // changed
    folder.write("new", "tc.doc");           // same size, another file
    fs::rename(folder.file("new"), folder.file("tc.doc"));
    folder.write("d.doc", "another d");  // stands at the old name
    fs::remove(folder.file("te.doc"));

    EXPECT_EQ(undo(), 1);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"a.doc", "d.doc", "f.doc", "tb.doc", "tc.doc", "td.doc"}));
    EXPECT_EQ(readFile(folder.file("a.doc")), "a.doc");
    EXPECT_EQ(readFile(folder.file("d.doc")), "another d");
    std::string report = out.str();
    EXPECT_NE(report.find("已恢复原名 1 个文件，未恢复 4 个："), std::string::npos) << report;
    // In reverse order of the renames.
    EXPECT_NE(report.find("te.doc（原名 e.doc）：已找不到改名后的文件\n"
                          "td.doc（原名 d.doc）：原名处已有文件，未覆盖\n"
                          "tc.doc（原名 c.doc）：已不是改名时的文件（被替换或修改过）\n"
                          "tb.doc（原名 b.doc）：已不是改名时的文件（被替换或修改过）\n"),
              std::string::npos)
        << report;

    EXPECT_EQ(undo(), 1);
    EXPECT_NE(
        out.str().find("上次撤销后尚有 4 个文件未恢复原名。\n已恢复原名 0 个文件，未恢复 4 个："),
        std::string::npos)
        << out.str();
    EXPECT_EQ(names(),
              (std::vector<std::string>{"a.doc", "d.doc", "f.doc", "tb.doc", "tc.doc", "td.doc"}));
}

TEST_F(BatchRun, undoesTheNamedJournalOrTheNewestAndTellsWhenThereIsNone) {
    EXPECT_EQ(undo(), 1);
    EXPECT_EQ(err.str(), "没有可撤销的改名记录。\n");
    renameTitled({{"a.doc", "first"}});
    ASSERT_EQ(run(), 0);
    renameTitled({{"b.doc", "second"}});
    ASSERT_EQ(run(), 0);
    std::vector<std::string> journals = rename_journal::journalPaths();
    ASSERT_EQ(journals.size(), 2u);
    EXPECT_EQ(journals[0].rfind(home.dir().path(), 0), 0u);

    EXPECT_EQ(undo(), 0) << out.str();
    EXPECT_EQ(names(), (std::vector<std::string>{"b.doc", "first.doc"}));
    EXPECT_EQ(undo(journals[0]), 0) << out.str();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.doc", "b.doc"}));
    EXPECT_NE(out.str().find("已恢复原名 1 个文件。"), std::string::npos) << out.str();
    EXPECT_EQ(undo(folder.file("a.doc")), 1);
    EXPECT_EQ(err.str(), "无法读取改名记录，或该文件不是改名记录：" + folder.file("a.doc") + "\n");
}

TEST_F(BatchRun, undoLeavesWhatItCouldNotRestoreForAnotherTryAndSaysHowManyRemain) {
    renameTitled({{"a.doc", "ta"}, {"b.doc", "tb"}});
    ASSERT_EQ(run(), 0) << err.str();
    // The folder away for a moment: nothing is tried, nothing noted.
    std::string away = folder.path().substr(0, folder.path().size() - 1) + "-away";
    fs::rename(folder.path(), away);
    EXPECT_EQ(undo(), 1);
    EXPECT_NE(out.str().find("目录不存在或无法打开（可能尚未连接），本次未做任何改动"),
              std::string::npos)
        << out.str();
    fs::rename(away, folder.path());

    folder.write("b.doc", "stands at the old name");
    EXPECT_EQ(undo(), 1);
    EXPECT_NE(out.str().find("已恢复原名 1 个文件，未恢复 1 个："), std::string::npos) << out.str();
    fs::remove(folder.file("b.doc"));
    EXPECT_EQ(undo(), 0) << out.str();
    EXPECT_NE(out.str().find("上次撤销后尚有 1 个文件未恢复原名。\n已恢复原名 1 个文件。"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.doc", "b.doc"}));
    EXPECT_EQ(undo(), 1);
    EXPECT_NE(out.str().find("撤销过，本次未做任何改动。"), std::string::npos) << out.str();
}

TEST_F(BatchRun, previewTellsEveryRenameInTheEndReportsWordsAndChangesNothing) {
    renameTitled({{"a.doc", "same"},
                  {"b.doc", "same"},
                  {"c.doc", "taken"},
                  {"d.doc", ""},
                  {"e.doc", "x:y"},
                  {"f.doc", "f"},
                  {"g.docx", "c"}});
    folder.makeFolder("taken.doc");
    settings.getprops = 1;
    settings.propids = "0";
    settings.fileout = folder.file("out.csv");
    std::vector<std::string> before = names();
    EXPECT_EQ(runBatchJob(settings, std::make_shared<CCore>(), shell, out, err, false, true), 0);
    EXPECT_EQ(out.str(),
              "a.doc → same.doc\n"
              "b.doc：保留原名（与另一文件标题相同）\n"
              "c.doc：保留原名（已有同名文件）\n"
              "d.doc：保留原名（标题为空）\n"
              "e.doc：保留原名（标题不能用作文件名）\n"
              "f.doc：保留原名（已是标题名）\n"
              "g.docx → c.docx\n"
              "执行完成！共 7 个文件。（预览，未改动任何文件）\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(names(), before);
    EXPECT_TRUE(rename_journal::journalPaths().empty());

    err.str("");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(err.str(),
              "有 1 个文件保留原名（标题不能用作文件名）：e.doc\n"
              "有 1 个文件保留原名（已有同名文件）：c.doc\n"
              "有 1 个文件保留原名（与另一文件标题相同）：b.doc\n");
}

// The job makes its output before it renames, so the output's name in the folder is
// taken; the preview says what the job then does.
TEST_F(BatchRun, previewFindsTheOutputsNameInTheFolderTakenAsTheJobDoes) {
    renameTitled({{"a.doc", "out"}});
    settings.getprops = 1;
    settings.propids = "0";
    settings.fileout = folder.file("out.doc");
    EXPECT_EQ(runBatchJob(settings, std::make_shared<CCore>(), shell, out, err, false, true), 0);
    EXPECT_EQ(out.str(),
              "a.doc：保留原名（已有同名文件）\n"
              "执行完成！共 1 个文件。（预览，未改动任何文件）\n");
    EXPECT_FALSE(fs::exists(settings.fileout));

    EXPECT_EQ(run(), 0);
    EXPECT_EQ(err.str(), "有 1 个文件保留原名（已有同名文件）：a.doc\n");
    EXPECT_EQ(readFile(folder.file("a.doc")), "a.doc");
}

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
    ConfigHome home;
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
    EXPECT_EQ(readFile(log),
              "有 1 个文件保留原名（标题不能用作文件名）：b.docx\n"
              "执行完成！共 2 个文件。\n");
    std::string text = readFile(csv);
    EXPECT_NE(text.find("a.docx,\"王, 伟\",季度报告\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("b.docx,\"王, 伟\",../逃逸\r\n"), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(dir.file("季度报告.docx")));
    EXPECT_TRUE(fs::exists(dir.file("b.docx")));
}

// A .docx whose main text's first paragraph is text, not its title.
void writeDocxWithText(const std::string& path, const DocxContent& content,
                       const std::string& text) {
    std::vector<ZipPart> parts = docxParts(content);
    for (ZipPart& part : parts) {
        if (part.name == "word/document.xml") {
            part.content =
                "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
                "main\"><w:body><w:p/><w:p><w:r><w:t>" +
                text + "</w:t></w:r></w:p></w:body></w:document>";
        }
    }
    writeZip(path, parts);
}

// Every rename option at once, previewed, done and undone by the program itself.
TEST(BatchProgram, previewsRenamesAndUndoesWithEveryRenameOption) {
    ConfigHome home;
    TempDir dir;
    DocxContent content;
    content.creator = "王伟";
    writeDocxWithText(dir.file("a.docx"), content, "第一段: 概要");
    content.title = "报告";
    writeDocxWithText(dir.file("b.docx"), content, "正文");
    writeDocxWithText(dir.file("c.docx"), content, "正文");
    content.creator = "";
    content.title = "Document1";
    writeDocxWithText(dir.file("d.docx"), content, "");
    const std::string options =
        "--rename --text-title --fix-names --number-duplicates "
        "--name-template '{20} - {21}' '" +
        dir.path() + "'";
    TempDir logs;
    std::string log = logs.file("log.txt");
    const std::vector<std::string> renames{
        "a.docx → 王伟 - 第一段： 概要.docx（取自正文）", "b.docx → 王伟 - 报告.docx",
        "c.docx → 王伟 - 报告 (2).docx", "d.docx → Document1.docx"};

    EXPECT_EQ(runProgram(options + " --dry-run", log), 0) << readFile(log);
    for (const std::string& line : renames)
        EXPECT_NE(readFile(log).find(line + "\n"), std::string::npos) << readFile(log);
    EXPECT_NE(readFile(log).find("将改名 4 个文件，其中 1 个新名取自正文。"), std::string::npos);

    EXPECT_EQ(runProgram(options, log), 0) << readFile(log);
    EXPECT_NE(readFile(log).find("已改名 4 个文件，其中 1 个新名取自正文。"), std::string::npos);
    for (const std::string& line : renames) {
        std::string name = line.substr(0, line.find(' '));
        std::string now = line.substr(name.size() + 5);
        now = now.substr(0, now.find("（"));
        EXPECT_TRUE(fs::exists(dir.file(now))) << now;
        EXPECT_FALSE(fs::exists(dir.file(name))) << name;
    }

    EXPECT_EQ(runProgram("--undo", log), 0) << readFile(log);
    for (const char* name : {"a.docx", "b.docx", "c.docx", "d.docx"})
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;
}

// A tree listed, previewed, renamed and undone by the program, each document in its own
// folder; an owner file beside a document is none.
TEST(BatchProgram, walksSubfoldersForTheCsvThePreviewTheRenamesAndTheUndo) {
    ConfigHome home;
    TempDir dir;
    TempDir logs;
    fs::create_directories(dir.file("sub/deep"));
    DocxContent content;
    content.title = "甲";
    writeDocx(dir.file("a.docx"), content);
    content.title = "乙";
    writeDocx(dir.file("sub/b.docx"), content);
    content.title = "丙";
    writeDocx(dir.file("sub/deep/c.docx"), content);
    std::ofstream(dir.file("sub/~$b.docx"), std::ios::binary) << std::string(162, 'x');
    std::string csv = logs.file("out.csv");
    std::string log = logs.file("log.txt");
    std::string top = " --subfolders '" + dir.path() + "'";

    EXPECT_EQ(runProgram("--props 21 --out '" + csv + "' --full-name" + top, log), 0)
        << readFile(log);
    EXPECT_EQ(readFile(log), "执行完成！共 3 个文件。\n");
    EXPECT_EQ(readFile(csv), "全文件名,标题\r\n" + dir.file("a.docx") + ",甲\r\n" +
                                 dir.file("sub/b.docx") + ",乙\r\n" + dir.file("sub/deep/c.docx") +
                                 ",丙\r\n");

    EXPECT_EQ(runProgram("--rename --dry-run" + top, log), 0) << readFile(log);
    EXPECT_EQ(readFile(log),
              "a.docx → 甲.docx\nsub/b.docx → sub/乙.docx\nsub/deep/c.docx → sub/deep/丙.docx\n"
              "执行完成！共 3 个文件。（预览，未改动任何文件）\n");

    EXPECT_EQ(runProgram("--rename" + top, log), 0) << readFile(log);
    for (const char* name : {"甲.docx", "sub/乙.docx", "sub/deep/丙.docx", "sub/~$b.docx"})
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;

    EXPECT_EQ(runProgram("--undo", log), 0) << readFile(log);
    for (const char* name : {"a.docx", "sub/b.docx", "sub/deep/c.docx"})
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;
}

// Only the kinds listed are documents, each renamed with its own extension.
TEST(BatchProgram, takesTheListedKindsOnly) {
    ConfigHome home;
    TempDir dir;
    TempDir logs;
    DocxContent content;
    content.title = "表";
    writeDocx(dir.file("a.xlsx"), content);
    content.title = "文";
    writeDocx(dir.file("b.docx"), content);
    writeDocx(dir.file("c.pptx"), content);
    std::string log = logs.file("log.txt");
    EXPECT_EQ(runProgram("--rename --types 'XLSX, .docx' '" + dir.path() + "'", log), 0)
        << readFile(log);
    EXPECT_EQ(readFile(log), "执行完成！共 2 个文件。\n");
    for (const char* name : {"表.xlsx", "文.docx", "c.pptx"})
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;
}

TEST(BatchProgram, refusesAnOutputThatIsOneOfTheDocumentsAndLeavesItWhole) {
    TempDir dir;
    DocxContent content;
    content.title = "甲";
    writeDocx(dir.file("a.docx"), content);
    writeDocx(dir.file("b.docx"), content);
    std::string document = readFile(dir.file("b.docx"));
    std::string log = dir.file("log.txt");
    EXPECT_EQ(runProgram("--props 0 --out '" + dir.file("b.docx") + "' '" + dir.path() + "'", log),
              1);
    EXPECT_EQ(readFile(log), "无法打开输出文件：" + dir.file("b.docx") +
                                 "（该文件是文档，写入会覆盖其内容，已保持原样，请另选输出文件）\n"
                                 "执行完成！共 0 个文件。\n");
    EXPECT_EQ(readFile(dir.file("b.docx")), document);
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
