#include <gtest/gtest.h>

#include "CCore.h"
#include "PathSeparator.h"
#include "TempDir.h"

TEST(CoreGetFg, countsFieldsFromZeroAndEndsAtTheLast) {
    CCore core;
    EXPECT_EQ(core.getFg("2,9,21", ',', 0), "2");
    EXPECT_EQ(core.getFg("2,9,21", ',', 2), "21");
    EXPECT_EQ(core.getFg("2,9,21", ',', 3), "");
    EXPECT_EQ(core.getFg("2,,21", ',', 1), "");
    EXPECT_EQ(core.getFg("2,,21", ',', 2), "21");
    EXPECT_EQ(core.getFg(",", ',', 0), "");
    EXPECT_EQ(core.getFg("", ',', 0), "");
    EXPECT_EQ(core.getFg("2", ',', -1), "");
}

TEST(CoreGetFg, keepsBlanks) {
    CCore core;
    EXPECT_EQ(core.getFg("   ", ',', 0), "   ");
    EXPECT_EQ(core.getFg(" 9 , a", ',', 1), " a");
}

TEST(CoreParsePath, endsTheFolderWithOneSeparator) {
    CCore core;
    std::string sep(1, kPathSeparator);
    EXPECT_EQ(core.parsePath("docs"), "docs" + sep);
    EXPECT_EQ(core.parsePath("docs" + sep), "docs" + sep);
    EXPECT_EQ(core.parsePath("docs/"), "docs/");
    EXPECT_EQ(core.parsePath(""), "");
}

TEST(CoreGetStrInt, writesDecimal) {
    CCore core;
    EXPECT_EQ(core.getStrInt(0), "0");
    EXPECT_EQ(core.getStrInt(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(core.getStrInt(12345), "12345");
}

TEST(CoreFiles, tellFoldersFromFiles) {
    TempDir dir;
    dir.write("a.doc", "x");
    dir.makeFolder("sub");
    CCore core;
    EXPECT_TRUE(core.isPathExist(dir.path()));
    EXPECT_TRUE(core.isPathExist(dir.file("sub")));
    EXPECT_FALSE(core.isPathExist(dir.file("a.doc")));
    EXPECT_FALSE(core.isPathExist(dir.file("missing")));
    EXPECT_FALSE(core.isPathExist(""));
    EXPECT_TRUE(core.isFileExist(dir.file("a.doc")));
    EXPECT_FALSE(core.isFileExist(dir.file("sub")));
    EXPECT_FALSE(core.isFileExist(""));
}

TEST(CoreFiles, createFileMakesAMissingFileAndKeepsAnExistingOne) {
    TempDir dir;
    CCore core;
    core.createFile(dir.file("new.csv"), 1);
    EXPECT_TRUE(core.isFileExist(dir.file("new.csv")));
    dir.write("old.csv", "content");
    core.createFile(dir.file("old.csv"), 1);
    EXPECT_EQ(readFile(dir.file("old.csv")), "content");
}

TEST(CoreAppPath, endsWithASeparatorAndNamesAnExistingFolder) {
    CCore core;
    std::string path = core.getAppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(isPathSeparator(path.back()));
    EXPECT_TRUE(core.isPathExist(path));
}
