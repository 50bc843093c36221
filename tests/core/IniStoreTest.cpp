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

TEST(IniStore, readsValuesAsPeopleWriteThem) {
    struct Case {
        const char* line;
        const char* value;
    };
    const Case cases[] = {
        {"pathuser=D:\\文档", "D:\\文档"},
        {"pathuser=D:\\\xCE\xC4\x95\x5C", "D:\\\xCE\xC4\x95\x5C"},  // GBK, a second byte '\'
        {"pathuser=/home/me/docs", "/home/me/docs"},
        {" pathuser \t= \t/home/me/my docs \t", "/home/me/my docs"},
        {"pathuser=2;21 ; kept", "2;21 ; kept"},
        {"pathuser=\"D:\\\\docs\" ; saved by hand", "D:\\docs"},
        {"pathuser=\" a;b \"# note", " a;b "},
        {"pathuser=\"D:\\docs\"", "D:\\docs"},
        {"pathuser=\"x\" y", "\"x\" y"},
        {"pathuser=\"open", "\"open"},
        {"pathuser=", ""},
    };
    for (const Case& c : cases) {
        for (const char* lineEnd : {"\n", "\r\n"}) {
            std::string text = std::string("[Tarnel]") + lineEnd + c.line + lineEnd;
            EXPECT_EQ(ini_store::parse(text), (Entries{{"pathuser", c.value}})) << text;
        }
    }
}

TEST(IniStore, readsAFileAsEditorsSaveIt) {
    Entries entries = ini_store::parse(
        "\xEF\xBB\xBF[Tarnel]\r\n"
        "; comment=\"1\"\r\n"
        "  # comment=2\r\n"
        "getprops=1\r\n"
        "=nokey\r\n"
        "[Other]\r\n"
        "elsewhere=\"2\"\r\n");
    EXPECT_EQ(entries, (Entries{{"getprops", "1"}}));
}

TEST(IniStore, readsGarbageAsNothingStored) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    EXPECT_TRUE(ini_store::parse(garbage).empty());
    EXPECT_TRUE(ini_store::parse("").empty());
}
