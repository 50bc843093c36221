#include "NameTemplate.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <variant>

namespace {

std::string refusal(const std::string& text) {
    auto parsed = NameTemplate::parse(text);
    return std::holds_alternative<std::string>(parsed) ? std::get<std::string>(parsed) : "";
}

NameTemplate parsed(const std::string& text) {
    return std::get<NameTemplate>(NameTemplate::parse(text));
}

TEST(NameTemplate, refusesATemplateThatNamesNoKnownColumnClearly) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"{999}", "文件名模板中的 {999} 不是已知的属性编号。"},
        {"{21} {12345678901}", "文件名模板中的 {12345678901} 不是已知的属性编号。"},
        {"{abc}", "文件名模板中的 {abc} 不是属性编号，大括号中只能写数字。"},
        {"{}", "文件名模板中的 {} 不是属性编号，大括号中只能写数字。"},
        {"{ 21}", "文件名模板中的 { 21} 不是属性编号，大括号中只能写数字。"},
        {"{-1}", "文件名模板中的 {-1} 不是属性编号，大括号中只能写数字。"},
        {"{21", "文件名模板中的“{”缺少对应的“}”。"},
        {"{20} - 21}", "文件名模板中的“}”前缺少对应的“{”。"},
        {"{{21}}", "文件名模板中的大括号不能嵌套。"},
        {"标题", "文件名模板中没有属性编号，例如标题为 {21}。"},
        {"", "文件名模板不能为空。"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusal(c.text), c.message) << c.text;
}

// Linux knows the reader's columns; Windows every number up to its column list's highest.
TEST(NameTemplate, knowsTheColumnsOfThisPlatform) {
#ifdef _WIN32
    EXPECT_EQ(refusal("{7}{160}"), "");
    EXPECT_NE(refusal("{161}"), "");
#else
    EXPECT_EQ(refusal("{404}"), "");
    EXPECT_NE(refusal("{7}"), "");
#endif
}

TEST(NameTemplate, listsItsColumnsAndKnowsTheDefault) {
    EXPECT_EQ(parsed("{20} - {21}（{020}）").columns(), (std::vector<int>{20, 21, 20}));
    EXPECT_TRUE(parsed("{21}").isDefault());
    EXPECT_FALSE(parsed(" {21}").isDefault());
}

TEST(NameTemplate, anEmptyValueTakesTheSeparatorsBesideIt) {
    struct Case {
        const char* text;
        std::map<int, std::string> values;
        const char* stem;
    };
    const Case cases[] = {
        {"{20} - {21}", {{20, "张三"}, {21, "报告"}}, "张三 - 报告"},
        {"{20} - {21}", {{21, "报告"}}, "报告"},
        {"{20} - {21}", {{20, "张三"}}, "张三"},
        {"{20} - {21}", {}, ""},
        {"{20}, {21}, {22}", {{20, "A"}, {22, "S"}}, "A, S"},
        {"{21} ({20})", {{21, "T"}}, "T"},
        {"({20}) {21}", {{20, "A"}}, "(A)"},
        {"{20} ({21}) {22}", {{20, "A"}, {22, "S"}}, "A S"},
        {"{20} - {21}（{22}）", {{20, "A"}, {22, "S"}}, "A（S）"},
        {"{20}【{21}】", {{20, "A"}}, "A"},
        {"报告：{21}", {}, "报告"},
        {"第{21}章", {}, "第章"},
        {"[{21}] - ", {{21, "T"}}, "[T] - "},
        {"{21}", {{21, " a: b. "}}, " a: b. "},
    };
    for (const Case& c : cases) {
        auto value = [&](int column) {
            auto found = c.values.find(column);
            return found == c.values.end() ? std::string() : found->second;
        };
        EXPECT_EQ(parsed(c.text).render(value), c.stem) << c.text;
    }
}

#ifdef _WIN32
// 0x81 0x7B is one GBK character whose second byte is the code of '{'.
TEST(NameTemplate, readsGbkCharactersWhole) {
    EXPECT_EQ(parsed("\x81\x7B{21}").render([](int) { return std::string("T"); }), "\x81\x7BT");
}
#endif

}  // namespace
