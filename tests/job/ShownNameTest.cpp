#include "ShownName.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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
        {"", ""},
    };
    for (const auto& [name, shown] : names)
        EXPECT_EQ(shownName(name), shown) << name;
}

}  // namespace
