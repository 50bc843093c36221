#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "CCore.h"
#include "ConfigHome.h"

TEST(CoreConfig, readsKeysNeverStoredAsEmptyAndZero) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    EXPECT_EQ(core.getConfigStr("pathuser"), "");
    EXPECT_EQ(core.getConfigB("getprops"), 0);
    EXPECT_TRUE(
        std::filesystem::is_directory(std::filesystem::path(home.storeFile()).parent_path()));
}

TEST(CoreConfig, keepsEveryKeyAcrossSavesAndObjects) {
    ConfigHome home;
    {
        CCore core;
        core.autoFileConfig();
        core.saveConfigStr("pathuser", " C:\\docs\\ 目录 ");
        core.saveConfigStr("propids", "2，21;=[x]\r\n");
        core.saveConfigB("getprops", 1);
        core.saveConfigB("rename", -7);
        core.saveConfigStr("pathuser", "second");
    }
    CCore later;
    later.autoFileConfig();
    EXPECT_EQ(later.getConfigStr("pathuser"), "second");
    EXPECT_EQ(later.getConfigStr("propids"), "2，21;=[x]\r\n");
    EXPECT_EQ(later.getConfigB("getprops"), 1);
    EXPECT_EQ(later.getConfigB("rename"), -7);
}

TEST(CoreConfig, treatsACorruptStoreAsNeverStoredAndRepairsItOnSave) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    home.dir().write(home.storeFile().substr(home.dir().path().size()),
                     std::string("\0\xFF[Tarnel\ngetprops=\"1", 21));
    EXPECT_EQ(core.getConfigB("getprops"), 0);
    EXPECT_EQ(core.getConfigStr("pathuser"), "");
    core.saveConfigB("rename", 1);
    EXPECT_EQ(core.getConfigB("rename"), 1);
    EXPECT_EQ(readFile(home.storeFile()).rfind("[Tarnel]", 0), 0u);
}

TEST(CoreConfig, keepsTheValuesOfAHandEditedStoreAcrossASave) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    const std::string folder = "D:\\\xCE\xC4\xB5\xB5\\\x95\x5C";  // GBK 文档 and a second byte '\'
    const std::string store = "[Tarnel]\r\n; edited by hand\r\npathuser = " + folder +
                              "\r\npropids=\"2,21\" ; title and authors\r\n";
    home.dir().write(home.storeFile().substr(home.dir().path().size()), store);
    core.saveConfigB("rename", 1);
    CCore later;
    EXPECT_EQ(later.getConfigStr("pathuser"), folder);
    EXPECT_EQ(later.getConfigStr("propids"), "2,21");
    EXPECT_EQ(later.getConfigB("rename"), 1);
}

TEST(CoreConfig, readsAStoreSavedAsUtf8WithItsMarkInTheProgramsText) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    // 文档 in UTF-8; the expected literal is compiled to the program's code page.
    home.dir().write(home.storeFile().substr(home.dir().path().size()),
                     "\xEF\xBB\xBF[Tarnel]\r\npathuser=D:\\\xE6\x96\x87\xE6\xA1\xA3\r\n");
    EXPECT_EQ(core.getConfigStr("pathuser"), "D:\\文档");
}

TEST(CoreConfig, readsANonNumberFlagAsZero) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    core.saveConfigStr("getprops", "yes");
    core.saveConfigStr("colfullname", "99999999999");
    EXPECT_EQ(core.getConfigB("getprops"), 0);
    EXPECT_EQ(core.getConfigB("colfullname"), 0);
}

TEST(CoreConfig, loseNoKeyWhenTwoThreadsSaveAtOnce) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&core, t] {
            for (int i = 0; i < 20; ++i) {
                std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
                core.saveConfigB(key.c_str(), i + 1);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 20; ++i) {
            std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
            EXPECT_EQ(core.getConfigB(key.c_str()), i + 1) << key;
        }
    }
}
