#include "WorkbookWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "WorkbookSheet.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class WorkbookWriting : public ::testing::Test {
  protected:
    WorkbookSheet write(const Rows& rows) {
        WorkbookWriter writer;
        EXPECT_TRUE(writer.open(path));
        for (const std::vector<std::string>& row : rows)
            EXPECT_EQ(writer.addRow(row), std::nullopt);
        EXPECT_EQ(writer.close(), std::nullopt);
        std::optional<WorkbookSheet> sheet = readWorkbookSheet(path);
        EXPECT_TRUE(sheet.has_value());
        return sheet.value_or(WorkbookSheet{});
    }

    TempDir folder;
    std::string path = folder.file("out.xlsx");
};

TEST_F(WorkbookWriting, keepsEveryTextAsATextCellOfTheOneSheet) {
    // What a spreadsheet would otherwise read as a formula, a number or a date.
    Rows rows = {{utf8(u8"全文件名"), "H2"},
                 {"=1+2", "-5"},
                 {"00123456789012345678", "2024/1/2"},
                 {utf8(u8"𠀀 😀 한국 ẞ"), "a & <b> \"c\""},
                 {"", "1E5"}};
    WorkbookSheet sheet = write(rows);
    EXPECT_EQ(sheet.name, utf8(u8"属性"));
    EXPECT_TRUE(sheet.allText);
    EXPECT_EQ(sheet.rows, rows);
}

TEST_F(WorkbookWriting, makesTheHeadingBoldFrozenAndTheTableFiltered) {
    WorkbookSheet sheet = write({{"H0", "H2", "H21"}, {"a", "b", "c"}, {"d", "e", "f"}});
    EXPECT_NE(sheet.xml.find("ySplit=\"1\""), std::string::npos);
    EXPECT_NE(sheet.xml.find("state=\"frozen\""), std::string::npos);
    EXPECT_NE(sheet.xml.find("<autoFilter ref=\"A1:C3\"/>"), std::string::npos);
    // The heading's cells have the bold style, the others the default.
    EXPECT_NE(sheet.xml.find("<c r=\"A1\" s=\"1\" t=\"inlineStr\">"), std::string::npos);
    EXPECT_NE(sheet.xml.find("<c r=\"A2\" t=\"inlineStr\">"), std::string::npos);
}

TEST_F(WorkbookWriting, replacesBrokenUtf8AndCutsATextLongerThanACellHolds) {
    std::string longText(WorkbookWriter::kMaxCellCharacters + 10, 'x');
    WorkbookSheet sheet = write({{"H"},
                                 {"a\xFF"
                                  "b"},
                                 {longText},
                                 {"\xE4\xB8"}});
    ASSERT_EQ(sheet.rows.size(), 4u);
    EXPECT_EQ(sheet.rows[1][0],
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(sheet.rows[2][0], longText.substr(0, WorkbookWriter::kMaxCellCharacters));
    EXPECT_EQ(sheet.rows[3][0], "\xEF\xBF\xBD");
}

TEST(WorkbookColumnWidth, countsEastAsianCharactersTwice) {
    const std::pair<const char8_t*, double> cases[] = {{u8"", 0},     {u8"abc", 3}, {u8"标题", 4},
                                                       {u8"한국", 4}, {u8"ẞ", 1},   {u8"𠀀", 2},
                                                       {u8"ＡＢ", 4}};
    for (const auto& [text, width] : cases)
        EXPECT_EQ(displayWidth(utf8(text)), width) << utf8(text);
}

TEST_F(WorkbookWriting, widensEachColumnToItsFirstRowsLongestText) {
    write({{"H", utf8(u8"标题")}, {"short", utf8(u8"一个很长的标题")}});
    std::optional<WorkbookSheet> sheet = readWorkbookSheet(path);
    ASSERT_TRUE(sheet);
    // "short" is 5 wide, the title 14; three more for the filter's button.
    EXPECT_NE(sheet->xml.find("<col min=\"1\" max=\"1\" width=\"8.7109375\""), std::string::npos)
        << sheet->xml.substr(0, 600);
    EXPECT_NE(sheet->xml.find("<col min=\"2\" max=\"2\" width=\"17.7109375\""), std::string::npos);
}

}  // namespace
