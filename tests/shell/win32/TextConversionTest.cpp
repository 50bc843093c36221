#include "TextConversion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "ShellError.h"

namespace {

class TextConversion : public ::testing::Test {
  protected:
    void SetUp() override {
        if (GetACP() != 936)
            GTEST_SKIP() << "needs the ANSI code page 936";
    }
};

}  // namespace

// Narrow literals are compiled as GBK.
TEST_F(TextConversion, roundTripsGbkText) {
    const std::string narrow = "文档标题 A-1.doc";
    ASSERT_EQ(narrow.size(), 16U);  // eight two-byte characters would be 24 in UTF-8
    Bstr wide = bstrFromNarrow(narrow);
    EXPECT_EQ(std::wstring(wide.get(), SysStringLen(wide.get())), L"文档标题 A-1.doc");
    EXPECT_EQ(narrowFromBstr(wide.get()), narrow);
}

TEST_F(TextConversion, keepsEmbeddedNulsAndEmptyText) {
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(SysStringLen(bstrFromNarrow(withNul).get()), 3U);
    Bstr empty = bstrFromNarrow("");
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_EQ(SysStringLen(empty.get()), 0U);
    EXPECT_EQ(narrowFromBstr(nullptr), "");
    EXPECT_EQ(narrowFromBstr(empty.get()), "");
}

TEST_F(TextConversion, dropsTheDirectionMarksOfDateTexts) {
    EXPECT_EQ(narrowFromWide(L"\u200e2024/\u200f5/1 \u202a10:0\u202e0\u2066\u2069"),
              "2024/5/1 10:00");
    EXPECT_EQ(narrowFromWide(L"\u200e\u200f"), "");
}

TEST_F(TextConversion, givesTheCodePagesDefaultCharacterForWhatItLacks) {
    EXPECT_EQ(narrowFromWide(L"a\u0e01b"), "a?b");  // Thai, not in GBK
}

// The reader's UTF-8 text as a name part: what GBK lacks goes, with the blanks it leaves.
TEST_F(TextConversion, leavesOutWhatTheCodePageLacksFromUtf8Text) {
    const std::string snowman = "\xE2\x98\x83", thai = "\xE0\xB8\x81", invalid = "\xFF";
    const std::string wenDang = "\xE6\x96\x87\xE6\xA1\xA3";  // 文档
    EXPECT_EQ(narrowFromUtf8Dropping(snowman + " " + wenDang + " " + thai + " ok" + invalid + " " +
                                     snowman),
              "文档 ok");
    EXPECT_EQ(narrowFromUtf8Dropping("a" + thai + "b \xF0\x9F\x98\x80 c"), "ab c");
    EXPECT_EQ(narrowFromUtf8Dropping(thai + " " + snowman), "");
}
