#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "CCore.h"
#include "ConfigHome.h"
#include "ReferenceFile.h"
#include "TestShell.h"
#include "WindowsColumns.h"

namespace {

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string() + "\\";
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Made outside the program (locked-folder.sh): a folder that takes no new file, whoever asks.
bool programFolderIsLocked() {
    std::string probe = programFolder() + "lock-check.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(file);
    return false;
}

TEST(CoreAppPath, isTheProgramFolderWhenItTakesFilesAndLeavesNothingThere) {
    ConfigHome home;
    const std::set<std::string> before = namesIn(programFolder());
    EXPECT_EQ(CCore().getAppPath(), programFolder());
    EXPECT_EQ(namesIn(programFolder()), before);
    EXPECT_FALSE(std::filesystem::exists(home.dir().path() + "Tarnel"));
}

class LockedProgramFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!programFolderIsLocked())
            GTEST_SKIP() << "run from a folder locked by locked-folder.sh";
    }
    ConfigHome home;
};

TEST_F(LockedProgramFolder, sendsTheReferenceToTheUsersFolderWhereItCanBeWrittenAndOpened) {
    CCore core;
    const std::string appPath = core.getAppPath();
    ASSERT_TRUE(core.isPathExist(appPath));
    using std::filesystem::path;
    EXPECT_EQ(path(appPath).lexically_normal(),
              path(home.dir().path() + "Tarnel\\").lexically_normal());
    TestShellBackend shell;
    EXPECT_NE(writeReferenceFileIfMissing(appPath + "_propids.txt", shell, appPath,
                                          windowsFallbackColumns()),
              ReferenceFileOutcome::failed);
    EXPECT_TRUE(core.isFileExist(core.getAppPath() + "_propids.txt"));
}

TEST_F(LockedProgramFolder, keepsTheReferenceItAlreadyHolds) {
    ASSERT_TRUE(CCore().isFileExist(programFolder() + "_propids.txt"));
    EXPECT_EQ(CCore().getAppPath(), programFolder());
    EXPECT_FALSE(std::filesystem::exists(home.dir().path() + "Tarnel"));
}

}  // namespace
