#include "IniStore.h"

#include <gtest/gtest.h>

using ini_store::Entries;

TEST(IniStore, giveBackEveryAwkwardTextExactly) {
    std::string allBytes;
    for (int c = 1; c < 256; ++c)
        allBytes += static_cast<char>(c);
    Entries entries{
        {"blanks", "  leading and trailing  "},
        {"syntax", "a=b;c[d]\"e\"\\f\\"},
        {"lines", "one\r\ntwo\nthree\r"},
        {"utf8", "目录 文件"},
        {"gbk", "\xC4\xBF\xC2\xBC\x95\x5C"},  // 目录 and a character whose second byte is '\'
        {"bytes", allBytes},
        {"empty", ""},
    };
    EXPECT_EQ(ini_store::parse(ini_store::format(entries)), entries);
}

TEST(IniStore, leavesOutLinesItCannotRead) {
    Entries entries = ini_store::parse(
        "[Tarnel]\r\n"
        "good=\"1\"\r\n"
        "unclosed=\"abc\r\n"
        "unquoted=abc\r\n"
        "badescape=\"\\q\"\r\n"
        "trailing=\"x\" y\r\n"
        "=\"nokey\"\r\n"
        "[Other]\r\n"
        "elsewhere=\"2\"\r\n");
    EXPECT_EQ(entries, (Entries{{"good", "1"}}));
}

TEST(IniStore, readsGarbageAsNothingStored) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    EXPECT_TRUE(ini_store::parse(garbage).empty());
    EXPECT_TRUE(ini_store::parse("").empty());
}
