#include "RenameJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ConfigHome.h"
#include "PathSeparator.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

JournalEntry entry(const std::string& oldName, const std::string& newName, std::uint64_t index,
                   const std::string& folder = {}) {
    return {oldName, newName, FileIdentity{7, index, 100 + index, -5}, folder};
}

void append(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << text;
    out.close();
    ASSERT_TRUE(out);
}

// The folder of this user's journals, made by a first journal.
std::string journalFolderOf(const JournalWriter& writer) {
    return fs::path(writer.path()).parent_path().string() +
           static_cast<char>(fs::path::preferred_separator);
}

TEST(RenameJournal, readsBackAnyNameAndTheRestoredEntriesAndLeavesOutALineCutShort) {
    ConfigHome home;
    TempDir documents;
    const std::string odd = "引号\"反斜杠\\换行\n制表\t\x7F\x01 end ";
    const std::string sub = std::string("子目录") + kPathSeparator;
    std::string path;
    JournalRead read;
    {
        JournalWriter writer(documents.path());
        ASSERT_FALSE(writer.open());
        ASSERT_FALSE(writer.record(entry("a.doc", "甲.doc", 1)));
        ASSERT_FALSE(writer.record(entry(odd, "rename \"x\" 1 2 3 4", 2, sub)));
        ASSERT_FALSE(writer.record(entry("c.doc", "丙.doc", 3)));
        path = writer.path();
    }
    append(path, "rename \"b.doc\" \"乙.doc\" 7 3 10 1");
    read = rename_journal::read(path);
    ASSERT_TRUE(read.journal) << read.refusal;
    Journal& journal = *read.journal;
    EXPECT_EQ(journal.folder, documents.path());
    EXPECT_EQ(journal.started.size(), 19u);
    ASSERT_EQ(journal.entries.size(), 3u);
    EXPECT_EQ(journal.entries[0].newName, "甲.doc");
    EXPECT_EQ(journal.entries[1].oldName, odd);
    EXPECT_EQ(journal.entries[1].newName, "rename \"x\" 1 2 3 4");
    EXPECT_EQ(journal.entries[1].identity, (FileIdentity{7, 2, 102, -5}));
    // Each entry in its own folder; the top folder's again after a subfolder's.
    EXPECT_EQ(journal.entries[0].folder, documents.path());
    EXPECT_EQ(journal.entries[1].folder, documents.path() + sub);
    EXPECT_EQ(journal.entries[2].folder, documents.path());
    EXPECT_EQ(journal.remaining(), 3u);
    EXPECT_FALSE(journal.undone);

    {
        JournalMarks marks(journal);
        EXPECT_TRUE(marks.restored(2));
        EXPECT_TRUE(marks.restored(0));
        EXPECT_TRUE(marks.finish());
    }
    read = rename_journal::read(path);
    ASSERT_TRUE(read.journal);
    // The line the crash cut short stays out once the marks follow it.
    EXPECT_EQ(read.journal->entries.size(), 3u);
    EXPECT_EQ(read.journal->restored, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(read.journal->undone);
    EXPECT_EQ(rename_journal::read(home.storeFile()).refusal,
              "无法读取改名记录，或该文件不是改名记录：" + home.storeFile());
}

TEST(RenameJournal, keepsTheFolderAbsoluteWhateverTheWorkingFolder) {
    ConfigHome home;
    TempDir parent;
    parent.makeFolder("docs");
    fs::path before = fs::current_path();
    fs::current_path(parent.path());
    std::optional<FileFault> fault;
    {
        JournalWriter writer("docs/");
        fault = writer.open();
    }
    fs::current_path(before);
    ASSERT_FALSE(fault);
    JournalRead read = rename_journal::latest();
    ASSERT_TRUE(read.journal) << read.refusal;
    EXPECT_EQ(read.journal->folder,
              parent.file("docs") + static_cast<char>(fs::path::preferred_separator));
}

TEST(RenameJournal, keepsTheNewestJournalsOnly) {
    ConfigHome home;
    std::vector<std::string> made;
    for (std::size_t n = 0; n <= rename_journal::kJournalsKept; ++n) {
        JournalWriter writer(home.dir().path());
        ASSERT_FALSE(writer.open());
        made.push_back(writer.path());
    }
    std::vector<std::string> kept(made.begin() + 1, made.end());
    EXPECT_EQ(rename_journal::journalPaths(), kept);
    EXPECT_EQ(rename_journal::latest().journal->path, made.back());
}

TEST(RenameJournal, ordersByItsOwnNumberSoJournalsDatedAheadNeverDropTheNewOne) {
    ConfigHome home;
    std::string folder, first;
    {
        JournalWriter writer(home.dir().path());
        ASSERT_FALSE(writer.open());
        folder = journalFolderOf(writer);
        first = writer.path();
    }
    fs::remove(first);
    // Journals named by a clock that was once far ahead.
    for (std::size_t n = 0; n < rename_journal::kJournalsKept; ++n) {
        append(folder + "rename-20990101-0000" + std::to_string(10 + n) + "-000.journal",
               "tarnel rename journal 1\nfolder \"/d/\"\n");
    }
    JournalWriter writer(home.dir().path());
    ASSERT_FALSE(writer.open());
    EXPECT_TRUE(fs::exists(writer.path()));
    std::vector<std::string> paths = rename_journal::journalPaths();
    EXPECT_EQ(paths.size(), rename_journal::kJournalsKept);
    EXPECT_EQ(paths.back(), writer.path());
    EXPECT_EQ(std::count(paths.begin(), paths.end(), folder + "rename-20990101-000010-000.journal"),
              0);
}

TEST(RenameJournal, aJobsJournalCannotBeReadUntilTheJobLetsGoOfIt) {
    ConfigHome home;
    std::string path;
    {
        JournalWriter writer(home.dir().path());
        ASSERT_FALSE(writer.open());
        ASSERT_FALSE(writer.record(entry("a.doc", "b.doc", 1)));
        path = writer.path();
        JournalRead read = rename_journal::latest();
        EXPECT_FALSE(read.journal);
        EXPECT_EQ(read.refusal, "仍有任务在改名并写入这份改名记录，请待其结束后再撤销：" + path);
    }
    EXPECT_TRUE(rename_journal::latest().journal);
}

TEST(RenameJournal, takesOnlySingleNamesOfAFolder) {
    const std::pair<std::string, bool> names[] = {
        {"a.doc", true},      {".hidden.doc", true}, {"a..b.docx", true},
        {"标题 1.doc", true}, {"", false},           {".", false},
        {"..", false},        {"...", false},        {".. ", false},
        {"a/b.doc", false},   {"../b.doc", false},   {"a\\b.doc", false},
        {"..\\b.doc", false}, {"/etc/x", false},     {std::string("a\0b.doc", 7), false},
    };
    for (const auto& [name, single] : names) {
        EXPECT_EQ(rename_journal::isSingleName(name), single) << name;
    }
    const std::string top = std::string("top") + kPathSeparator;
    const std::string sep(1, kPathSeparator);
    const std::pair<std::string, bool> folders[] = {
        {top, true},
        {top + "a" + sep + "b c" + sep, true},
        {top + ".hidden" + sep, true},
        {"top2" + sep, false},
        {top + "a", false},
        {top + ".." + sep, false},
        {top + "a" + sep + sep, false},
        {top + "a" + sep + ".." + sep + ".." + sep, false},
        {top + "a/b\\c" + sep, false},
        {"other" + sep + "top" + sep, false},
    };
    for (const auto& [folder, within] : folders) {
        EXPECT_EQ(rename_journal::isFolderWithin(top, folder), within) << folder;
    }
}

#ifndef _WIN32
TEST(RenameJournal, refusesWhatIsNoRegularFileOfThisUserWithoutWaitingOnIt) {
    ConfigHome home;
    TempDir dir;
    const std::string fifo = dir.file("rename-000001.journal");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.write("foreign.journal", "tarnel rename journal 1\nfolder \"/d/\"\n");
    ASSERT_EQ(::chown(dir.file("foreign.journal").c_str(), 65534, 65534), 0);
    dir.write("huge.journal", "tarnel rename journal 1\n");
    fs::resize_file(dir.file("huge.journal"), (256ull << 20) + 1);
    const std::pair<std::string, std::string> refusals[] = {
        {fifo, "改名记录不是普通文件，未读取："},
        {"/dev/zero", "改名记录不是普通文件，未读取："},
        {dir.path(), "改名记录不是普通文件，未读取："},
        {dir.file("foreign.journal"), "改名记录不属于当前用户，未使用："},
        {dir.file("huge.journal"), "文件过大，不是改名记录，未读取："},
        {dir.file("none.journal"), "无法读取改名记录，或该文件不是改名记录："},
    };
    for (const auto& [path, refusal] : refusals) {
        JournalRead read = rename_journal::read(path);
        EXPECT_FALSE(read.journal) << path;
        EXPECT_EQ(read.refusal, refusal + path);
    }

    // A pipe named like a journal among the journals is passed over.
    JournalWriter writer(dir.path());
    ASSERT_FALSE(writer.open());
    const std::string planted = journalFolderOf(writer) + "rename-999999.journal";
    ASSERT_EQ(::mkfifo(planted.c_str(), 0600), 0);
    EXPECT_EQ(rename_journal::journalPaths(), std::vector<std::string>{writer.path()});
}
#endif

}  // namespace
