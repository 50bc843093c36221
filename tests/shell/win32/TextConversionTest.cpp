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
