// The reader's Windows parts under Wine: its file source, its code page converter, and the
// text of real documents read through them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "CodePageText.h"
#include "DocumentText.h"
#include "TempDir.h"
#include "TextConversion.h"
#include "WineCorpus.h"
#include "win32/Win32FileSource.h"

namespace {

class Win32FileSourceTest : public ::testing::Test {
  protected:
    Win32FileSourceTest() { dir.write("a.docx", "0123456789"); }

    HANDLE hold(DWORD share) const {
        return CreateFileA(dir.file("a.docx").c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    TempDir dir;
};

}  // namespace

TEST_F(Win32FileSourceTest, readsRangesInsideTheFileOnly) {
    Win32FileSource source(wideFromNarrow(dir.file("a.docx")));
    ASSERT_TRUE(source.isOpen());
    EXPECT_EQ(source.size(), 10U);
    std::string out;
    ASSERT_TRUE(source.read(7, 3, out));
    EXPECT_EQ(out, "789");
    ASSERT_TRUE(source.read(2, 2, out));  // backwards again
    EXPECT_EQ(out, "23");
    EXPECT_FALSE(source.read(8, 3, out));
}

// An editor holds its document for writing and lets others read it.
TEST_F(Win32FileSourceTest, readsAFileAnotherProgramHasOpenForWriting) {
    HANDLE editor = hold(FILE_SHARE_READ);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    Win32FileSource source(wideFromNarrow(dir.file("a.docx")));
    std::string out;
    EXPECT_TRUE(source.isOpen());
    EXPECT_TRUE(source.read(0, 4, out));
    EXPECT_EQ(out, "0123");
    CloseHandle(editor);
}

TEST_F(Win32FileSourceTest, opensNoFileThatIsMissingOrHeldExclusively) {
    HANDLE held = hold(0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const char* name : {"a.docx", "missing.docx"}) {
        Win32FileSource source(wideFromNarrow(dir.file(name)));
        std::string out;
        EXPECT_FALSE(source.isOpen()) << name;
        EXPECT_EQ(source.size(), 0U) << name;
        EXPECT_FALSE(source.read(0, 0, out)) << name;
    }
    CloseHandle(held);
}

// Narrow literals here are GBK, so the UTF-8 expectations are spelled as bytes.
TEST(CodePageWin32Test, decodesThroughTheSystemsConverters) {
    struct Case {
        std::string bytes;
        std::uint16_t codePage;
        std::string utf8;
    };
    const Case cases[] = {
        {"\xCE\xC4\xB5\xB5 1", 936, "\xE6\x96\x87\xE6\xA1\xA3 1"},  // 文档 in GBK
        {"\x80 caf\xE9", 1252, "\xE2\x82\xAC caf\xC3\xA9"},         // € café
        {std::string("a\0b\0\x3D\xD8\x00\xDE", 8), kCodePageUtf16, "ab\xF0\x9F\x98\x80"},
        {std::string("\0a\xD8\x3D\xDE\x00", 6), 1201, "a\xF0\x9F\x98\x80"},  // big-endian
        {std::string("\xE9t\xE9\0rest", 8), 1252, "\xC3\xA9t\xC3\xA9"},      // up to the NUL
        {"caf\xE9", 4242, "caf\xC3\xA9"},  // no such code page: read as 1252
    };
    for (const Case& test : cases)
        EXPECT_EQ(codePageToUtf8(test.bytes, test.codePage), test.utf8) << test.utf8;
}

TEST(CodePageWin32Test, aSequenceTheCodePageLacksIsMarkedNotLost) {
    // A byte GBK lacks and a lead byte without its trail: one mark for the run, and what
    // follows is kept.
    EXPECT_EQ(codePageToUtf8("a\xFF\x81 \xCE\xC4", 936), "a\xEF\xBF\xBD \xE6\x96\x87");
}

// What the Linux build's reader gives for the same files, so both systems name a document
// alike: .docx and .doc, Chinese, Cyrillic, Hebrew, and 8-bit pieces in a code page.
TEST(ReaderWin32Corpus, givesTheFirstParagraphTheLinuxBuildGives) {
    const std::string folder = corpusFolder("poi");
    if (folder.empty())
        GTEST_SKIP() << "no corpus beside the project";
    struct Case {
        const char* name;
        const char8_t* text;
    };
    const Case cases[] = {
        {"stress009.docx", u8"NANDrive 微型固态硬盘设计方案"},
        {"bug65649.docx", u8"Комитет по информатизации и связи"},
        {"stress019.docx", u8"リーダーシップに係る発行運営業務委託"},
        {"61490.doc", u8"居中的大标题"},
        {"Bug48075.doc", u8"Приложение №2"},
        {"47304.doc", u8"Just a “test”"},
        {"Bug60942b.doc", u8"×åòûðå áàëëà è ñåìü ëåò"},
        {"Bug45473.doc", u8"יותר מחצי שנה אחרי שדו\"ח וינוגרד קבע כי יש להחליט באופן ברור על"},
        {"password_password_cryptoapi.doc", u8""},  // encrypted
    };
    for (const Case& test : cases) {
        Win32FileSource source(wideFromNarrow(folder + "\\" + test.name));
        EXPECT_TRUE(source.isOpen()) << test.name;
        EXPECT_EQ(documentFirstParagraph(source), reinterpret_cast<const char*>(test.text))
            << test.name;
    }
}
