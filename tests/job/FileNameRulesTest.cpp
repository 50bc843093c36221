#include "FileNameRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TempDir.h"

namespace {

std::string repeated(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

struct Case {
    std::string stem;
    std::optional<std::string> name;
};

// Literals are narrow text of the build, so the full-width forms are GBK on Windows.
TEST(FileNameRules, fixMendsWhatANameCannotHold) {
    TempDir dir;
    const Case cases[] = {
        {"问:答?", "问：答？.docx"},
        {"a/b\\c", "a／b＼c.docx"},
        {"say \"x\" <y> *|", "say ＂x＂ ＜y＞ ＊｜.docx"},
        {"第一行\n第二行\t!", "第一行第二行!.docx"},
        {"  Chapter 1 . . ", "Chapter 1.docx"},
        {"del\x7f", "del\x7f.docx"},
        {"CON", "CON_.docx"},
        {"nul.txt", "nul_.txt.docx"},
        {"Com1 .x", "Com1_ .x.docx"},
        {"CONSOLE", "CONSOLE.docx"},
        {" . ..", std::nullopt},
        {"\x01\x02", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(composeFileName(dir.path(), c.stem, "", "docx", true), c.name) << c.stem;
}

TEST(FileNameRules, withoutFixRefusesWhatFixWouldMend) {
    TempDir dir;
    for (const char* stem : {"问:答", "a/b", "CON", "x\ty"})
        EXPECT_EQ(composeFileName(dir.path(), stem, "", "docx", false), std::nullopt) << stem;
    EXPECT_EQ(composeFileName(dir.path(), "标题 ", "", "docx", false), "标题 .docx");
}

TEST(FileNameRules, aSuffixGoesBeforeTheExtension) {
    TempDir dir;
    EXPECT_EQ(composeFileName(dir.path(), "报告", " (2)", "doc", false), "报告 (2).doc");
    EXPECT_EQ(composeFileName(dir.path(), "报告:", " (3)", "doc", true), "报告： (3).doc");
    EXPECT_EQ(composeFileName(dir.path(), "con", " (2)", "doc", true), "con_ (2).doc");
}

#ifndef _WIN32
TEST(FileNameRules, aLongStemIsCutToFit255BytesAtACharacterBoundary) {
    TempDir dir;
    EXPECT_EQ(composeFileName(dir.path(), std::string(300, 'x'), "", "docx", true),
              std::string(250, 'x') + ".docx");
    EXPECT_EQ(composeFileName(dir.path(), std::string(300, 'x'), "", "docx", false), std::nullopt);
    // 83 three-byte characters and ".docx" are 254 bytes; the 84th would make 257.
    EXPECT_EQ(composeFileName(dir.path(), repeated("字", 100), "", "docx", true),
              repeated("字", 83) + ".docx");
    // A cut that leaves a blank at the end drops it too.
    EXPECT_EQ(composeFileName(dir.path(), std::string(249, 'x') + " yyyy", "", "docx", true),
              std::string(249, 'x') + ".docx");
}

TEST(FileNameRules, aSuffixShortensAStemThatFitsOnlyAlone) {
    TempDir dir;
    const std::string stem(251, 'x');
    EXPECT_EQ(composeFileName(dir.path(), stem, "", "doc", false), stem + ".doc");
    EXPECT_EQ(composeFileName(dir.path(), stem, " (2)", "doc", false),
              std::string(247, 'x') + " (2).doc");
}

// A lone byte is no character, but Linux takes it in a name; the sign after it is mended.
TEST(FileNameRules, fixMendsASignAfterAByteThatIsNoCharacter) {
    TempDir dir;
    EXPECT_EQ(composeFileName(dir.path(), "\x81/x", "", "doc", true), "\x81／x.doc");
}
#else
TEST(FileNameRules, aLongNameIsCutToFitThePathAtACharacterBoundary) {
    TempDir dir;
    const std::size_t room = 259 - dir.path().size() - std::string(".docx").size();
    EXPECT_EQ(composeFileName(dir.path(), std::string(300, 'x'), "", "docx", true),
              std::string(room, 'x') + ".docx");
    EXPECT_EQ(composeFileName(dir.path(), std::string(300, 'x'), "", "docx", false), std::nullopt);
    // Two bytes a character in GBK: never half of one.
    EXPECT_EQ(composeFileName(dir.path(), "x" + repeated("字", 200), "", "docx", true),
              "x" + repeated("字", (room - 1) / 2) + ".docx");
}

TEST(FileNameRules, fixReadsGbkCharactersWhole) {
    TempDir dir;
    // 0x81 0x5C is one GBK character whose second byte is the code of '\'.
    EXPECT_EQ(composeFileName(dir.path(), "\x81\x5C|", "", "doc", true), "\x81\x5C｜.doc");
    // A lead byte before '/' starts no character: dropped, and the '/' mended.
    EXPECT_EQ(composeFileName(dir.path(), "\x81/x", "", "doc", true), "／x.doc");
}
#endif

}  // namespace
