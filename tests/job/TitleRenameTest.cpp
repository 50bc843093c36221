#include "TitleRename.h"

#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"

namespace {

TEST(Extension, isTheTextAfterTheLastDot) {
    EXPECT_EQ(extensionOf("a.doc"), "doc");
    EXPECT_EQ(extensionOf("x.y.docx"), "docx");
    EXPECT_EQ(extensionOf("docx"), "docx");
    EXPECT_EQ(extensionOf("a."), "");
    EXPECT_EQ(extensionOf("~$a.docx"), "docx");
}

TEST(TitleFileName, takesAnOrdinaryTitleWithTheExtension) {
    TempDir dir;
    EXPECT_EQ(titleFileName(dir.path(), "年度报告 2024", "docx"), "年度报告 2024.docx");
    EXPECT_EQ(titleFileName(dir.path(), ".hidden", "doc"), ".hidden.doc");
    EXPECT_EQ(titleFileName(dir.path(), "CONSOLE", "doc"), "CONSOLE.doc");
    EXPECT_EQ(titleFileName(dir.path(), "COM0", "doc"), "COM0.doc");
}

TEST(TitleFileName, refusesTitlesThatLeaveTheFolderOrAreNoSingleName) {
    TempDir dir;
    for (const char* title : {"../x", "a\\b", "x/y", "..", ".", "/", "\\", "a/"}) {
        EXPECT_EQ(titleFileName(dir.path(), title, "doc"), std::nullopt) << title;
    }
}

TEST(TitleFileName, refusesCharactersNoFileNameHolds) {
    TempDir dir;
    for (const char* title : {"问:答?", "a*b", "say \"x\"", "<tag>", "a|b", "第一行\n第二行",
                              "tab\there", "bell\x07"}) {
        EXPECT_EQ(titleFileName(dir.path(), title, "doc"), std::nullopt) << title;
    }
}

// The extension follows the title, so the name ends in neither; DEL is a name's character.
TEST(TitleFileName, takesATrailingBlankOrDotAndDel) {
    TempDir dir;
    for (const char* title : {"trailing. ", "Minutes.", "Chapter 1 ", "标题 ", "del\x7f"}) {
        EXPECT_EQ(titleFileName(dir.path(), title, "doc"), std::string(title) + ".doc") << title;
    }
    EXPECT_EQ(titleFileName(dir.path(), "a", ""), std::nullopt);
}

TEST(TitleFileName, refusesReservedDeviceNamesInAnyCaseAndWithAnExtension) {
    TempDir dir;
    for (const char* title :
         {"CON", "con", "Prn", "AUX", "nul", "COM1", "com9", "LPT1", "lpt9", "NUL.tar", "CON .x"}) {
        EXPECT_EQ(titleFileName(dir.path(), title, "docx"), std::nullopt) << title;
    }
}

TEST(TitleFileName, refusesANameBeyondTheFileSystemsLength) {
    TempDir dir;
    EXPECT_EQ(titleFileName(dir.path(), std::string(300, 'x'), "doc"), std::nullopt);
#ifndef _WIN32
    // 255 bytes in all is the longest name.
    EXPECT_NE(titleFileName(dir.path(), std::string(251, 'x'), "doc"), std::nullopt);
    EXPECT_EQ(titleFileName(dir.path(), std::string(252, 'x'), "doc"), std::nullopt);
    // Counted in bytes: 84 three-byte characters and ".doc" are 256.
    std::string wide;
    for (int i = 0; i < 84; ++i)
        wide += "字";
    EXPECT_EQ(titleFileName(dir.path(), wide, "doc"), std::nullopt);
    EXPECT_NE(titleFileName(dir.path(), wide.substr(3), "doc"), std::nullopt);
#endif
}

// Bytes a broken lead byte used to hide from the character walk.
TEST(TitleFileName, refusesSeparatorAndControlBytesWhereverTheyStand) {
    TempDir dir;
    const std::vector<std::string> titles{"d\xC0/escaped", "a\xC0\nb", std::string("\xC0\0x", 3),
                                          "\x81/x", "\xE0\x80:"};
    for (const std::string& title : titles)
        EXPECT_EQ(titleFileName(dir.path(), title, "doc"), std::nullopt) << title;
    EXPECT_EQ(titleFileName(dir.path(), "a", "d/c"), std::nullopt);
    EXPECT_EQ(titleFileName(dir.path(), "a", "do\n"), std::nullopt);
}

#ifndef _WIN32
TEST(TitleFileName, walksOnlyValidUtf8AsWholeCharacters) {
    TempDir dir;
    struct Case {
        std::string title;
        bool accepted;
    };
    const std::vector<Case> cases{
        {"\xC0\\x", false},         // a lead byte without its continuation byte
        {"\xE0\x80|", false},       // overlong three-byte form
        {"\xED\xA0\\", false},      // surrogate
        {"\xF4\x90\x80|", false},   // beyond U+10FFFF
        {"\xF0\x9F\x98\\", false},  // cut short by a backslash
        {"\x80\x80", true},         // lone continuation bytes
        {"\xC0\xAF", true},         // an overlong "/" is no "/"
        {"年度报告\xF0\x9F\x98\x80", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(titleFileName(dir.path(), c.title, "doc").has_value(), c.accepted) << c.title;
    }
}
#endif

#ifdef _WIN32
TEST(TitleFileName, readsAGbkTrailByteAsPartOfItsCharacter) {
    TempDir dir;
    // 0x81 0x5C is one GBK character whose second byte is the code of '\'.
    const std::string title = "\x81\x5C";
    EXPECT_EQ(titleFileName(dir.path(), title, "doc"), title + ".doc");
    EXPECT_EQ(titleFileName(dir.path(), "a\\", "doc"), std::nullopt);
}
#endif

}  // namespace
