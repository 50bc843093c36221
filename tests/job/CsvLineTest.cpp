#include "CsvLine.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "CCore.h"
#include "PropertyList.h"
#include "RowFields.h"
#include "ShellAccess.h"
#include "TempDir.h"
#include "TestShell.h"

namespace {

std::string field(const std::string& text) {
    std::string line;
    appendCsvField(line, text);
    return line;
}

TEST(CsvField, writesPlainTextByteForByte) {
    EXPECT_EQ(field("标题 'x' a=b"), "标题 'x' a=b");
    EXPECT_EQ(field(""), "");
}

TEST(CsvField, quotesEverySeparatorAndDoublesInnerQuotes) {
    EXPECT_EQ(field("a,b"), "\"a,b\"");
    EXPECT_EQ(field("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(field("line\rbreak"), "\"line\rbreak\"");
    EXPECT_EQ(field("line\nbreak"), "\"line\nbreak\"");
    EXPECT_EQ(field("\""), "\"\"\"\"");
    EXPECT_EQ(field("标题 ;'x'\t"), "\"标题 ;'x'\t\"");
    EXPECT_EQ(field("a\tb"), "\"a\tb\"");
}

TEST(CsvField, marksFormulaStartsAsTextButKeepsPlainNumbers) {
    const std::vector<std::pair<std::string, std::string>> fields{
        {"=1+2", "'=1+2"},
        {"+x", "'+x"},
        {"-x", "'-x"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tcmd", "\"'\tcmd\""},
        {"-", "'-"},
        {"-1.2.3", "'-1.2.3"},
        {"-1e5", "'-1e5"},
        {"\r=x", "\"'\r=x\""},
        {"=HYPERLINK(\"http://e/?\"&A2,\"open\")",
         "\"'=HYPERLINK(\"\"http://e/?\"\"&A2,\"\"open\"\")\""},
        {"-5,6", "\"'-5,6\""},
        {"-5", "-5"},
        {"+86 10 1234 5678", "+86 10 1234 5678"},
        {"-0.5", "-0.5"},
        {"+.5 ", "+.5 "},
        {"a=b", "a=b"},
        {"'=x", "'=x"},
    };
    for (const auto& [text, written] : fields)
        EXPECT_EQ(field(text), written) << text;
}

// A spreadsheet that splits at ";" or a tab sees each piece as a field of its own.
TEST(CsvField, marksFormulaStartsInEveryPieceOfASemicolonOrTabSplit) {
    const std::vector<std::pair<std::string, std::string>> fields{
        {"Report;=1+2", "\"Report;'=1+2\""},
        {"Report\t=1+2", "\"Report\t'=1+2\""},
        {"=1;+x\t@y", "\"'=1;'+x\t'@y\""},
        {"a;-5", "\"a;-5\""},
        {"a;-5;b", "\"a;-5;b\""},
        {"a;-5\tb", "\"a;'-5\tb\""},
        {"a;\t=1", "\"a;'\t'=1\""},
        {"-5;x", "\"'-5;x\""},
        {"a;;=b", "\"a;;'=b\""},
        {"a;", "\"a;\""},
        {"a;b=c", "\"a;b=c\""},
        {"x;=HYPERLINK(\"u\")", "\"x;'=HYPERLINK(\"\"u\"\")\""},
    };
    for (const auto& [text, written] : fields)
        EXPECT_EQ(field(text), written) << text;
}

// One document of a folder, opened through the test shell.
class CsvLines : public ::testing::Test {
  protected:
    CsvLines() : layer(shell) {
        folder.write("a.doc");
        layer.connectShell();
        layer.openFolder(folder.path());
        layer.findItem("a.doc");
    }

    std::vector<int> columns(const std::string& propids) {
        return propertyColumns(normalisePropertyList(propids), core).numbers;
    }
    std::string heading(const std::string& propids, bool fullName) {
        return csvLine(headingFields(columns(propids), fullName, layer, TextForm::Narrow));
    }
    std::string data(const std::string& propids, bool fullName) {
        return line(columns(propids), fullName, folder.path());
    }
    std::string line(const std::vector<int>& columns, bool fullName, const std::string& path) {
        return csvLine(dataFields(columns, fullName, path, "a.doc", layer, TextForm::Narrow));
    }

    CCore core;
    TempDir folder;
    TestShellBackend shell;
    ShellAccess layer;
};

TEST_F(CsvLines, buildHeadingAndDataWithoutATrailingSeparator) {
    EXPECT_EQ(heading("2，21", true), "全文件名,H2,H21");
    EXPECT_EQ(data("2，21", true), folder.path() + "a.doc,D2:a.doc,");
    EXPECT_EQ(heading("0", false), "H0");
    EXPECT_EQ(data("0", false), "a.doc");
    EXPECT_EQ(data("9,9", false), "D9:a.doc,D9:a.doc");
}

TEST_F(CsvLines, holdOnlyTheFullNameWhenTheListStartsEmpty) {
    EXPECT_EQ(heading(",", true), "全文件名");
    EXPECT_EQ(data(",", true), folder.path() + "a.doc");
    EXPECT_EQ(heading(",", false), "");
    EXPECT_EQ(data(",", false), "");
}

TEST_F(CsvLines, quoteDetailsHeadingsAndPathsThatWouldSplitALine) {
    shell.setDetail("a.doc", 2, "Smith, J.");
    shell.setDetail("a.doc", 3, "第一行\r\n第二行");
    shell.setDetail("a.doc", 4, "the \"draft\"");
    EXPECT_EQ(data("2,3,4", false), "\"Smith, J.\",\"第一行\r\n第二行\",\"the \"\"draft\"\"\"");

    std::string odd = "x,\"y\"";
    odd += kPathSeparator;
    EXPECT_EQ(line({0}, true, odd),
              "\"x,\"\"y\"\"" + std::string(1, kPathSeparator) + "a.doc\",a.doc");
}

TEST_F(CsvLines, markFormulaStartsInDetailsAndPaths) {
    shell.setDetail("a.doc", 2, "=1+2");
    shell.setDetail("a.doc", 3, "-5");
    EXPECT_EQ(data("2,3", false), "'=1+2,-5");
    EXPECT_EQ(line({}, true, "=x" + std::string(1, kPathSeparator)),
              "'=x" + std::string(1, kPathSeparator) + "a.doc");
}

TEST_F(CsvLines, raiseTheShellErrorOfADetail) {
    shell.failDetailsOf("a.doc", shell_hr::kFail);
    EXPECT_THROW(data("0", false), ShellError);
    EXPECT_EQ(heading("0", true), "全文件名,H0");
}

}  // namespace
