#include "ShownName.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "NarrowText.h"

namespace {

TEST(ShownName, escapesControlCharactersAndKeepsEveryOtherByte) {
    const std::vector<std::pair<std::string, std::string>> names{
        {"a.docx", "a.docx"},
        {"a\nb.docx", "a\\nb.docx"},
        {"\r\t", "\\r\\t"},
        {"\x1b[2J.doc", "\\x1B[2J.doc"},
        {"\x01\x1f\x7f", "\\x01\\x1F\\x7F"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"C:\\文档\\a\\n.doc", "C:\\文档\\a\\n.doc"},
        {"\xCE\xC4\xB5\xB5\x81\x5C\x81\x7E.doc", "\xCE\xC4\xB5\xB5\x81\x5C\x81\x7E.doc"},
        {"\x81\n\xCE", "\x81\\n\xCE"},
        {"", ""},
    };
    for (const auto& [name, shown] : names)
        EXPECT_EQ(shownName(name), shown) << name;
}

TEST(ShownName, escapesTheLineAndParagraphSeparatorsOfUtf8) {
    const std::string lineSeparator = "\xE2\x80\xA8";
    if (narrow_text::charLength(lineSeparator, 0) != lineSeparator.size())
        GTEST_SKIP() << "the system's code page is not UTF-8";
    EXPECT_EQ(shownName("a" + lineSeparator + "b\xE2\x80\xA9"), "a\\u2028b\\u2029");
    EXPECT_EQ(shownName("\xE2\x80\xA7\xE2\x80\xAA"), "\xE2\x80\xA7\xE2\x80\xAA");
}

}  // namespace
