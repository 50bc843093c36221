#include "DocumentTypes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string parsed(const std::string& list) {
    auto result = DocumentTypes::parse(list);
    if (const auto* message = std::get_if<std::string>(&result))
        return "refused: " + *message;
    return std::get<DocumentTypes>(result).text();
}

TEST(DocumentTypes, readsAListAsUsersWriteIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"doc,docx", "doc,docx"},
        {" .DOC , Xlsx,pptx ", "doc,xlsx,pptx"},
        {"wps，et，dps", "wps,et,dps"},
        {"docx,,doc,DOCX,", "docx,doc"},
    };
    for (const auto& [list, text] : cases)
        EXPECT_EQ(parsed(list), text) << list;
}

TEST(DocumentTypes, refusesUnknownKindsAndAnEmptyList) {
    EXPECT_EQ(parsed("doc,txt").find("refused: 文档类型“txt”"), 0u) << parsed("doc,txt");
    EXPECT_NE(parsed("doc docx").find("“doc docx”"), std::string::npos);
    EXPECT_NE(parsed("..doc").find("“.doc”"), std::string::npos);
    for (const char* empty : {"", " , ，", "."})
        EXPECT_EQ(parsed(empty), "refused: 文档类型不能为空，例如 doc,docx。") << empty;
}

TEST(DocumentTypes, takesTheListedExtensionsInTheirOwnCaseOnly) {
    DocumentTypes types = std::get<DocumentTypes>(DocumentTypes::parse("XLS,docx"));
    EXPECT_TRUE(types.matches("表.xls"));
    EXPECT_TRUE(types.matches("a.b.docx"));
    EXPECT_FALSE(types.matches("表.XLS"));
    EXPECT_FALSE(types.matches("a.doc"));
    EXPECT_FALSE(types.matches("a.xlsx"));
    EXPECT_FALSE(types.matches("a.xls.bak"));
    EXPECT_EQ(DocumentTypes().text(), "doc,docx");
}

}  // namespace
