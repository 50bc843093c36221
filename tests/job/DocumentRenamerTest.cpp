#include "DocumentRenamer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "RenameFixture.h"

namespace fs = std::filesystem;

namespace {

using DocumentRenamerTest = RenameFixture;

TEST_F(DocumentRenamerTest, keepsTheNameForAnEmptyTakenOrHostileTitle) {
    titled({{"a.doc", "同名"},
            {"b.doc", "同名"},
            {"c.doc", ""},
            {"d.doc", "../x"},
            {"e.doc", "a\\b"},
            {"f.doc", "x/y"},
            {"g.doc", "CON"},
            {"h.doc", "问:答?"},
            {"i.doc", "trailing. "},
            {"j.doc", std::string(260, 'n')},
            {"k.doc", "第一行\n第二行"},
            {"l.doc", "d\xC0/escaped"},
            {"m.doc", "a\xC0\nb"},
            {"n.doc", "n"},
            {"o.doc", "taken"}});
    folder.makeFolder("taken.doc");
#ifndef _WIN32
    // The folder a title with a broken lead byte before "/" once moved its document into.
    folder.makeFolder("d\xC0");
#endif
    const std::string invalid = "：保留原名（标题不能用作文件名）";
    EXPECT_EQ(previewThenRename(),
              (std::vector<std::string>{
                  "a.doc → 同名.doc", "b.doc：保留原名（与另一文件标题相同）",
                  "c.doc：保留原名（标题为空）", "d.doc" + invalid, "e.doc" + invalid,
                  "f.doc" + invalid, "g.doc" + invalid, "h.doc" + invalid,
                  // The extension follows a trailing blank or dot, so that title is a name.
                  "i.doc → trailing. .doc", "j.doc" + invalid, "k.doc" + invalid, "l.doc" + invalid,
                  "m.doc" + invalid, "n.doc：保留原名（已是标题名）",
                  "o.doc：保留原名（已有同名文件）"}));
#ifndef _WIN32
    EXPECT_TRUE(fs::is_empty(folder.file("d\xC0")));
#endif
    EXPECT_TRUE(fs::is_empty(folder.file("taken.doc")));
    EXPECT_FALSE(fs::exists(fs::path(folder.path()).parent_path().parent_path() / "x.doc"));
}

#ifndef _WIN32
// A journal takes back only single names on either platform, and "\\" separates on Windows.
TEST_F(DocumentRenamerTest, keepsTheNameOfADocumentWhoseRenameCouldNotBeUndone) {
    titled({{"a\\b.doc", "新名"}});
    EXPECT_EQ(previewThenRename(),
              std::vector<std::string>{
                  "a\\b.doc：保留原名（原名或所在子目录名含反斜杠，改名后无法撤销）"});
}
#endif

// The first in listing order keeps the plain name; a name taken by any file when its turn
// comes goes to the next free number; a document already numbered keeps its number.
TEST_F(DocumentRenamerTest, numbersDuplicatesWithTheFirstFreeNumber) {
    settings.numberdups = 1;
    titled({{"a.doc", "report"},
            {"b.doc", "report"},
            {"c.docx", "report"},
            {"d.doc", "report"},
            {"x (2).doc", "x"},
            {"x.doc", "x"},
            {"y (3).doc", "y"},
            {"y.doc", "z"}});
    folder.makeFolder("report (2).doc");
    EXPECT_EQ(previewThenRename(),
              (std::vector<std::string>{
                  "a.doc → report.doc", "b.doc → report (3).doc", "c.docx → report.docx",
                  "d.doc → report (4).doc", "x (2).doc：保留原名（已是标题名）",
                  "x.doc：保留原名（已是标题名）", "y (3).doc → y (2).doc", "y.doc → z.doc"}));
    EXPECT_TRUE(fs::is_empty(folder.file("report (2).doc")));
}

// The preview knows only the listing; the real job finds the file made since and numbers on.
TEST_F(DocumentRenamerTest, numbersOnPastANameMadeAfterTheListing) {
    settings.numberdups = 1;
    titled({{"a.doc", "新"}});
    shell->onParseName([&](const std::string&) { folder.write("新.doc", "made meanwhile"); });
    JobReport report = renameAll(false);
    EXPECT_EQ(report.text(), "");
    EXPECT_EQ(readFile(folder.file("新 (2).doc")), "a.doc");
    EXPECT_EQ(readFile(folder.file("新.doc")), "made meanwhile");
}

TEST_F(DocumentRenamerTest, keepsTheDefaultRuleWithoutNumbering) {
    titled({{"a.doc", "新"}});
    shell->onParseName([&](const std::string&) { folder.write("新.doc", "made meanwhile"); });
    EXPECT_EQ(renameAll(false).text(), "有 1 个文件保留原名（已有同名文件）：a.doc");
    EXPECT_EQ(readFile(folder.file("a.doc")), "a.doc");
}

// One document at a time: how the title, the text, the template and fixing meet, and that
// the text and the columns are read only when the name needs them.
TEST_F(DocumentRenamerTest, makesTheNameFromTemplateTextTitleAndFixedCharacters) {
    struct Case {
        const char* what;
        std::string title, text, author;
        int texttitle, fixnames;
        std::string nameTemplate;
        std::string line;  // the preview's line for a.doc
        int textsAsked, titlesAsked;
    };
    const std::string kept = "a.doc：保留原名（";
    const std::vector<Case> cases{
        {"the title as ever", "年度报告", "正文", "王伟", 0, 0, "{21}", "a.doc → 年度报告.doc", 0,
         1},
        {"no text without the option", "", "正文", "", 0, 0, "{21}", kept + "标题为空）", 0, 1},
        {"text for an empty title", "", "正文", "", 1, 0, "{21}", "a.doc → 正文.doc（取自正文）", 1,
         1},
        {"text for a placeholder", "文档1", "正文", "", 1, 0, "{21}",
         "a.doc → 正文.doc（取自正文）", 1, 1},
        {"a real title wins", "年度报告", "正文", "", 1, 0, "{21}", "a.doc → 年度报告.doc", 0, 1},
        {"a placeholder stays without text", "文档1", "", "", 1, 0, "{21}", "a.doc → 文档1.doc", 1,
         1},
        {"no title, no text", "", "", "", 1, 0, "{21}", kept + "标题为空）", 1, 1},
        {"author and title", "年度报告", "", "王伟", 0, 0, "{20} - {21}",
         "a.doc → 王伟 - 年度报告.doc", 0, 1},
        {"no author", "年度报告", "", "", 0, 0, "{20} - {21}", "a.doc → 年度报告.doc", 0, 1},
        {"author and the text", "", "正文", "王伟", 1, 0, "{20} - {21}",
         "a.doc → 王伟 - 正文.doc（取自正文）", 1, 1},
        {"no title asked", "年度报告", "正文", "王伟", 1, 0, "{20}", "a.doc → 王伟.doc", 0, 0},
        {"nothing at all", "", "", "", 1, 1, "{20} - {21}", kept + "标题为空）", 1, 1},
        {"refused unfixed", "问:答?", "", "", 0, 0, "{21}", kept + "标题不能用作文件名）", 0, 1},
        {"fixed", "问:答?", "", "", 0, 1, "{21}", "a.doc → 问：答？.doc", 0, 1},
        {"the text fixed", "", "时间:上午", "", 1, 1, "{21}", "a.doc → 时间：上午.doc（取自正文）",
         1, 1},
        {"the template's result fixed", "年度报告", "", "甲/乙", 0, 1, "{20} - {21}",
         "a.doc → 甲／乙 - 年度报告.doc", 0, 1},
    };
    for (const Case& c : cases) {
        folder.write("a.doc", "a.doc");
        shell->setTitle("a.doc", c.title);
        shell->setText("a.doc", c.text);
        shell->setDetail("a.doc", 20, c.author);
        settings.texttitle = c.texttitle;
        settings.fixnames = c.fixnames;
        settings.nametemplate = c.nameTemplate;
        asked.clear();
        textsAsked = 0;
        EXPECT_EQ(previewThenRename(), std::vector<std::string>{c.line}) << c.what;
        // Once for the preview and once for the real renames.
        EXPECT_EQ(textsAsked, 2 * c.textsAsked) << c.what;
        EXPECT_EQ(asked[TITLE_COLUMN], 2 * c.titlesAsked) << c.what;
        // Narrow names in the code page, as the job sees them.
        for (const std::string& name : names())
            std::remove(folder.file(name).c_str());
    }
}

TEST_F(DocumentRenamerTest, countsTheNewNamesTakenFromTheText) {
    settings.texttitle = 1;
    titled({{"a.doc", ""}, {"b.doc", "年度报告"}, {"c.doc", "Untitled"}, {"d.doc", ""}});
    shell->setText("a.doc", "第一段");
    shell->setText("c.doc", "另一段");
    EXPECT_EQ(renameAll(true).text(), "将改名 3 个文件，其中 2 个新名取自正文。");
    EXPECT_EQ(renameAll(false).text(), "已改名 3 个文件，其中 2 个新名取自正文。");
    EXPECT_EQ(names(),
              (std::vector<std::string>{"d.doc", "另一段.doc", "年度报告.doc", "第一段.doc"}));
}

}  // namespace
