#include "PlaceholderTitle.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* title;
    bool placeholder;
    const char* why;
};

// Literals are narrow text of the build (GBK on Windows), as titles are.
TEST(PlaceholderTitle, tellsTitlesThatSayNothingFromRealOnes) {
    const Case cases[] = {
        {"", true, "blank"},
        {" \t　", true, "blanks, the ideographic one too"},
        {"2024-03-01", true, "a date alone"},
        {"——……", true, "full-width dashes and ellipses"},
        {"《》（）【】，。", true, "full-width brackets and marks"},
        {"１２３．", true, "full-width digits"},
        {"Microsoft Word - 年度报告.doc", true, "printed to a file"},
        {"MICROSOFT WORD - a.docx", true, "printed, any case"},
        {"文档1", true, "a new document's default name"},
        {"Document12", true, "numbered beyond 9"},
        {"doc3", true, "the short default, any case"},
        {"Document 2", true, "a blank before the number"},
        {"新建 Microsoft Word 文档", true, "the shell's new document"},
        {"新建  microsoft word 文档 (2)", true, "its second one, blanks and case differ"},
        {"新建 DOCX 文档（3）", true, "full-width brackets around the number"},
        {"无标题", true, "a template's placeholder"},
        {"Untitled-1", true, "an untitled document, numbered"},
        {"  标题 2 ", true, "blanks around a numbered placeholder"},
        {"TITLE", true, "a template's placeholder in capitals"},
        {"年度报告", false, "a real title"},
        {"Document", false, "the bare word may be meant"},
        {"文档", false, "the bare word may be meant"},
        {"Documents1", false, "not the default name"},
        {"标题党", false, "a word that starts with a placeholder"},
        {"Title IX", false, "letters after the placeholder"},
        {"Untitled (draft)", false, "no number in the brackets"},
        {"新建 Microsoft Word 文档 (2) 定稿", false, "text after the number"},
        {"Microsoft Word 使用手册", false, "no print prefix"},
        {"2024年", false, "an ideograph beside the digits"},
        {"C++", false, "a letter among the marks"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isPlaceholderTitle(c.title), c.placeholder) << c.title << ": " << c.why;
}

}  // namespace
