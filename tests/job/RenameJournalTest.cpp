#include "RenameJournal.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ConfigHome.h"

namespace {

JournalEntry entry(const std::string& oldName, const std::string& newName, std::uint64_t index) {
    return {oldName, newName, FileIdentity{7, index, 100 + index, -5}};
}

TEST(RenameJournal, readsBackAnyNameAndLeavesOutALineCutShort) {
    ConfigHome home;
    const std::string odd = "引号\"反斜杠\\换行\n制表\t\x7F\x01 end ";
    std::string path;
    {
        JournalWriter writer("/docs/文件夹/");
        ASSERT_FALSE(writer.open());
        ASSERT_FALSE(writer.record(entry("a.doc", "甲.doc", 1)));
        ASSERT_FALSE(writer.record(entry(odd, "rename \"x\" 1 2 3 4", 2)));
        path = writer.path();
    }
    std::ofstream cut(path, std::ios::binary | std::ios::app);
    cut << "rename \"b.doc\" \"乙.doc\" 7 3 10";
    cut.close();
    ASSERT_TRUE(cut);
    std::optional<Journal> journal = rename_journal::read(path);
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->folder, "/docs/文件夹/");
    EXPECT_EQ(journal->started.size(), 19u);
    ASSERT_EQ(journal->entries.size(), 2u);
    EXPECT_EQ(journal->entries[0].newName, "甲.doc");
    EXPECT_EQ(journal->entries[1].oldName, odd);
    EXPECT_EQ(journal->entries[1].newName, "rename \"x\" 1 2 3 4");
    EXPECT_EQ(journal->entries[1].identity, (FileIdentity{7, 2, 102, -5}));
    EXPECT_FALSE(journal->undone);

    EXPECT_TRUE(rename_journal::markUndone(path));
    EXPECT_TRUE(rename_journal::read(path)->undone);
    EXPECT_FALSE(rename_journal::read(home.storeFile()));
}

TEST(RenameJournal, keepsTheNewestJournalsOnly) {
    ConfigHome home;
    std::vector<std::string> made;
    for (std::size_t n = 0; n <= rename_journal::kJournalsKept; ++n) {
        JournalWriter writer("/docs/");
        ASSERT_FALSE(writer.open());
        made.push_back(writer.path());
    }
    std::vector<std::string> kept(made.begin() + 1, made.end());
    EXPECT_EQ(rename_journal::journalPaths(), kept);
    EXPECT_EQ(rename_journal::latest()->path, made.back());
}

}  // namespace
