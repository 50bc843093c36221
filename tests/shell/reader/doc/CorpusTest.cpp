// The real documents of the corpus beside the project, through the whole Linux backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ColumnTable.h"
#include "DocumentFile.h"
#include "ShellAccess.h"

namespace {

const std::filesystem::path kCorpus = TARNEL_CORPUS_DIR;

bool haveCorpus() {
    return std::filesystem::is_directory(kCorpus / "poi");
}

std::vector<std::string> fileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// exiftool's reading of the same files.
TEST(Corpus, givesTheTitlesOfDocumentsInUtf8CyrillicAndHebrewCodePages) {
    if (!haveCorpus())
        GTEST_SKIP() << "no corpus at " << kCorpus;
    const std::pair<const char*, const char*> expected[] = {
        {"TestChineseProperties.doc", "參考資料"},
        {"Bug48075.doc", "Кредитование физических лиц на покупку автомобиля"},
        {"Bug46610_3.doc", "Пёpлы фyтбольных комментатоpов"},
        {"Bug45473.doc",
         "יותר מחצי שנה אחרי שדו\"ח וינוגרד קבע כי יש להחליט באופן ברור על תפקידיה של המועצה "
         "לביטחון לאומי, עושה הכנסת צעד משמעותי ליישום"},
        {"TestInvertedClassID.doc", " "},
    };
    for (const auto& [name, title] : expected) {
        auto properties = readDocumentFile((kCorpus / "poi" / name).string());
        ASSERT_TRUE(properties) << name;
        EXPECT_EQ(properties->title, title) << name;
    }
}

TEST(Corpus, answersEveryColumnOfEveryDocumentWithoutAnError) {
    if (!haveCorpus())
        GTEST_SKIP() << "no corpus at " << kCorpus;
    auto backend = makeNativeShellBackend();
    backend->enterThread();
    ShellAccess shell(*backend);
    shell.connectShell();
    std::size_t files = 0;
    std::size_t titled = 0;
    for (const char* folder : {"poi", "python-docx"}) {
        shell.openFolder((kCorpus / folder).string() + "/");
        ASSERT_TRUE(shell.hasFolder()) << folder;
        for (const std::string& name : fileNames(kCorpus / folder)) {
            if (name == "README.md")
                continue;
            ++files;
            shell.findItem(name);
            ASSERT_TRUE(shell.hasItem()) << name;
            for (const Column& column : columnTable()) {
                std::string text = shell.itemDetail(column.number);
                if (column.number == TITLE_COLUMN && !text.empty())
                    ++titled;
            }
            EXPECT_EQ(shell.itemDetail(0), name);
            shell.itemDetail(-1);
            shell.itemDetail(100000);
            shell.releaseItem();
        }
        for (const Column& column : columnTable())
            EXPECT_FALSE(shell.columnHeading(column.number).empty()) << column.number;
        shell.releaseFolder();
    }
    shell.releaseShell();
    backend->leaveThread();
    EXPECT_EQ(files, 384u);
    // Most of the corpus has a title; a reader that lost them all would still not crash.
    EXPECT_GT(titled, files / 4);
}
