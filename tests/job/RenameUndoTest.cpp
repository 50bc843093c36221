#include "RenameUndo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "IniStore.h"
#include "RenameFixture.h"

namespace fs = std::filesystem;

namespace {

using RenameUndoTest = RenameFixture;

// Every name the options made, numbered ones among them, goes back to the old one.
TEST_F(RenameUndoTest, restoresTheNamesEveryOptionMade) {
    settings.numberdups = 1;
    settings.texttitle = 1;
    settings.fixnames = 1;
    titled({{"a.doc", "报告"}, {"b.doc", "报告"}, {"c.doc", ""}, {"d.doc", "问:答"}});
    shell->setText("c.doc", "报告");
    std::vector<std::string> before = names();
    renameAll(false);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"报告 (2).doc", "报告 (3).doc", "报告.doc", "问：答.doc"}));
    JournalRead read = rename_journal::latest();
    ASSERT_TRUE(read.journal) << read.refusal;
    UndoReport report = undoJournal(*read.journal);
    EXPECT_TRUE(report.succeeded());
    EXPECT_EQ(report.restored, 4);
    EXPECT_EQ(names(), before);
    for (const char* name : {"a.doc", "b.doc", "c.doc", "d.doc"})
        EXPECT_EQ(readFile(folder.file(name)), name);
}

TEST_F(RenameUndoTest, tellsWhenItCouldNotNoteWhatItRestored) {
    titled({{"a.doc", "ta"}});
    renameAll(false);
    JournalRead read = rename_journal::latest();
    ASSERT_TRUE(read.journal);
    // Another file put at the journal's path takes no notes meant for the one read.
    std::string path = read.journal->path;
    fs::copy_file(path, path + ".copy");
    fs::remove(path);
    fs::rename(path + ".copy", path);
    UndoReport report = undoJournal(*read.journal);
    EXPECT_EQ(report.restored, 1);
    EXPECT_FALSE(report.succeeded());
    EXPECT_NE(undoReportText(*read.journal, report).find("无法在改名记录中记下已恢复的文件"),
              std::string::npos);
    EXPECT_EQ(rename_journal::read(path).journal->remaining(), 1u);
}

TEST_F(RenameUndoTest, movesNothingOutOfItsFolderForACraftedJournal) {
    TempDir other;
    other.write("secret.doc", "kept where it is");
    std::string journal = folder.file("crafted.journal");
    std::string head = "tarnel rename journal 1\nfolder " + ini_store::quoted(folder.path()) +
                       "\nstarted \"2026-01-01 00:00:00\"\n";
    auto line = [](const std::string& oldName, const std::string& newName, const FileIdentity& id) {
        return "rename " + ini_store::quoted(oldName) + " " + ini_store::quoted(newName) + " " +
               std::to_string(id.volume) + " " + std::to_string(id.index) + " " +
               std::to_string(id.size) + " " + std::to_string(id.modified) + "\n";
    };
    std::string outside = fs::relative(other.file("secret.doc"), folder.path()).string();
    std::ofstream(journal, std::ios::binary)
        << head << line(".secret.doc", outside, *fileIdentity(other.file("secret.doc")));
    JournalRead read = rename_journal::read(journal);
    ASSERT_TRUE(read.journal) << read.refusal;
    UndoReport report = undoJournal(*read.journal);
    EXPECT_EQ(report.restored, 0);
    EXPECT_EQ(readFile(other.file("secret.doc")), "kept where it is");
    EXPECT_NE(undoReportText(*read.journal, report).find("：名称不是单个文件名"),
              std::string::npos);

    // A folder outside the journal's is none of a job's either.
    std::ofstream(journal, std::ios::binary)
        << head << "in " << ini_store::quoted(other.path()) << "\n"
        << line("moved.doc", "secret.doc", *fileIdentity(other.file("secret.doc")));
    read = rename_journal::read(journal);
    ASSERT_TRUE(read.journal) << read.refusal;
    report = undoJournal(*read.journal);
    EXPECT_EQ(report.restored, 0);
    EXPECT_TRUE(fs::exists(other.file("secret.doc")));

    std::ofstream(journal, std::ios::binary) << head;
    read = rename_journal::read(journal);
    ASSERT_TRUE(read.journal) << read.refusal;
    EXPECT_NE(undoReportText(*read.journal, undoJournal(*read.journal))
                  .find("改名记录中没有改名，本次未做任何改动。"),
              std::string::npos);
}

}  // namespace
