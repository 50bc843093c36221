#include "ReferenceFile.h"

#include <gtest/gtest.h>

#include "ComShell.h"
#include "ShellError.h"
#include "TempDir.h"
#include "TestShell.h"
#include "WindowsColumns.h"

namespace {

// A shell that gives a heading for every hundredth column and fails the others.
class PatchyFolder : public ShellFolderObject {
  public:
    std::unique_ptr<ShellItemObject> parseName(const std::string&) override { return nullptr; }
    std::string itemDetail(ShellItemObject&, int) override { return {}; }
    std::string columnHeading(int column) override {
        if (column % 100 != 0)
            throw ShellError(shell_hr::kFail);
        return "X";
    }
};

class PatchyConnection : public ShellObject {
  public:
    std::unique_ptr<ShellFolderObject> nameSpace(const std::string&) override {
        return std::make_unique<PatchyFolder>();
    }
};

class PatchyShell : public ShellBackend {
  public:
    std::unique_ptr<ShellObject> connect() override { return std::make_unique<PatchyConnection>(); }
};

class ReferenceFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("_propids.txt");
};

}  // namespace

// Wine's shell answers E_NOTIMPL for every heading.
TEST_F(ReferenceFileTest, writesTheFallbackListWhenTheShellGivesNoHeadings) {
    ComShellBackend backend;
    EXPECT_EQ(writeReferenceFileIfMissing(path, backend, dir.path(), windowsFallbackColumns()),
              ReferenceFileOutcome::writtenFromFallback);
    const std::string text = readFile(path);
    // Narrow literals are GBK, as the file is.
    EXPECT_EQ(text.rfind("0\t名称\r\n1\t大小\r\n2\t类型\r\n", 0), 0U);
    EXPECT_NE(text.find("\r\n21\t标题\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n42\t程序名称\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n160\t字数\r\n"));
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
    EXPECT_EQ(readFile(path + ".tmp"), "");
}

TEST_F(ReferenceFileTest, writesTheShellsNonEmptyHeadingsAndBalancesTheThreadState) {
    TestShellBackend backend;
    const ColumnHeading unused[] = {{0, "unused"}};
    EXPECT_EQ(writeReferenceFileIfMissing(path, backend, dir.path(), unused),
              ReferenceFileOutcome::writtenFromShell);
    const std::string text = readFile(path);
    EXPECT_EQ(text.rfind("0\tH0\r\n1\tH1\r\n", 0), 0U);
    EXPECT_TRUE(text.ends_with("\r\n320\tH320\r\n"));
    EXPECT_EQ(backend.threadEnters(), 1);
    EXPECT_EQ(backend.threadLeaves(), 1);
    EXPECT_EQ(backend.liveObjects(), 0);
}

TEST_F(ReferenceFileTest, leavesOutTheColumnsWhoseHeadingFails) {
    PatchyShell backend;
    EXPECT_EQ(writeReferenceFileIfMissing(path, backend, dir.path(), windowsFallbackColumns()),
              ReferenceFileOutcome::writtenFromShell);
    EXPECT_EQ(readFile(path), "0\tX\r\n100\tX\r\n200\tX\r\n300\tX\r\n");
}

TEST_F(ReferenceFileTest, fallsBackWhenTheFolderCannotBeOpened) {
    TestShellBackend backend;
    const ColumnHeading fallback[] = {{21, "T"}};
    EXPECT_EQ(writeReferenceFileIfMissing(path, backend, dir.file("missing"), fallback),
              ReferenceFileOutcome::writtenFromFallback);
    EXPECT_EQ(readFile(path), "21\tT\r\n");
}

TEST_F(ReferenceFileTest, neverReplacesAFileThatIsThere) {
    dir.write("_propids.txt", "mine");
    TestShellBackend backend;
    EXPECT_EQ(writeReferenceFileIfMissing(path, backend, dir.path(), windowsFallbackColumns()),
              ReferenceFileOutcome::present);
    EXPECT_EQ(readFile(path), "mine");
    EXPECT_EQ(backend.threadEnters(), 0);
}

TEST_F(ReferenceFileTest, reportsAFolderItCannotWriteInAndLeavesNothing) {
    TestShellBackend backend;
    const std::string unwritable = dir.file("missing") + "\\_propids.txt";
    EXPECT_EQ(writeReferenceFileIfMissing(unwritable, backend, dir.path(), {}),
              ReferenceFileOutcome::failed);
    EXPECT_EQ(readFile(unwritable), "");
}
