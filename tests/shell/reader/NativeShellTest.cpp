#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gsf/gsf-meta-names.h>

#include <climits>
#include <filesystem>

#include "ChinaTime.h"
#include "DocumentFile.h"
#include "DocxFixture.h"
#include "OleFixture.h"
#include "ReaderBackend.h"
#include "ShellBackend.h"
#include "TempDir.h"

namespace {

// 2024-05-03 06:22:00 UTC
constexpr std::int64_t kMay3 = 1714717320;

class NativeShellTest : public ::testing::Test {
  protected:
    NativeShellTest()
        : m_backend(makeNativeShellBackend()),
          m_shell(m_backend->connect()),
          m_folder(m_shell->nameSpace(m_dir.path())) {}

    std::unique_ptr<ShellItemObject> item(const std::string& name) {
        return m_folder->parseName(name);
    }
    std::string detail(const std::string& name, int column) {
        auto found = item(name);
        return found ? m_folder->itemDetail(*found, column) : "(no item)";
    }
    void setTimes(const std::string& name, std::int64_t seconds) {
        struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, m_dir.file(name).c_str(), times, 0), 0);
    }

    TempDir m_dir;
    ChinaTime m_china;
    std::unique_ptr<ShellBackend> m_backend;
    std::unique_ptr<ShellObject> m_shell;
    std::unique_ptr<ShellFolderObject> m_folder;
};

}  // namespace

TEST_F(NativeShellTest, opensOnlyExistingFolders) {
    ASSERT_NE(m_folder, nullptr);
    m_dir.write("file.docx", "x");
    EXPECT_NE(m_shell->nameSpace(m_dir.path().substr(0, m_dir.path().size() - 1)), nullptr);
    EXPECT_EQ(m_shell->nameSpace(m_dir.file("file.docx")), nullptr);
    EXPECT_EQ(m_shell->nameSpace(m_dir.file("missing")), nullptr);
    EXPECT_EQ(m_shell->nameSpace(""), nullptr);
}

TEST_F(NativeShellTest, findsOnlyExistingItems) {
    m_dir.write("a.docx", "x");
    EXPECT_NE(item("a.docx"), nullptr);
    EXPECT_EQ(item("b.docx"), nullptr);
    EXPECT_EQ(item(""), nullptr);
    m_dir.makeFolder("sub");
    m_dir.write("sub/c.docx", "x");
    for (const char* outside : {"sub/c.docx", ".", "..", "../a.docx"}) {
        EXPECT_EQ(item(outside), nullptr) << outside;
    }
}

TEST_F(NativeShellTest, doesNotWaitForAPipeNamedLikeADocument) {
    for (const char* name : {"pipe.docx", "pipe.doc", "docx"}) {
        ASSERT_EQ(::mkfifo(m_dir.file(name).c_str(), 0600), 0) << name;
        EXPECT_EQ(detail(name, 21), "") << name;
        EXPECT_EQ(detail(name, 0), name);
        // As when a pipe replaces the document between the listing and the reading.
        EXPECT_FALSE(readDocumentFile(m_dir.file(name))) << name;
    }
}

TEST_F(NativeShellTest, readsADocumentByItsContentAndTypesItByItsName) {
    const std::pair<const char*, const char*> cases[] = {
        {"docx", "文件"},
        {"saved.doc", "Microsoft Word 97 - 2003 文档"},
    };
    for (const auto& [name, type] : cases) {
        writeDocx(m_dir.file(name), sampleDocxContent());
        EXPECT_EQ(detail(name, 21), "年度报告, 第二版") << name;
        EXPECT_EQ(detail(name, 2), type) << name;
    }
}

TEST_F(NativeShellTest, answersEveryDocumentColumnFromTheDocx) {
    writeDocx(m_dir.file("report.docx"), sampleDocxContent());
    auto found = item("report.docx");
    ASSERT_NE(found, nullptr);
    const std::pair<int, const char*> expected[] = {
        {0, "report.docx"},
        {2, "Microsoft Word 文档"},
        {9, "文档"},
        {11, "文档"},
        {18, "预算; 计划"},
        {20, "张三; 李四"},
        {21, "年度报告, 第二版"},
        {22, "财务"},
        {23, "报告"},
        {24, "内部 & 机密"},
        {25, ""},
        {33, "示例公司"},
        {42, "Word Processor"},
        {152, "2024/5/3 14:22"},
        {153, "2024/5/5 8:00"},
        {154, "2024/5/4 14:22"},
        {157, "12"},
        {159, "01:05:00"},
        {160, "3456"},
        {400, "王五"},
        {401, "7"},
        {402, "Normal.dotm"},
        {403, "19876"},
        {404, "赵六"},
    };
    for (auto [column, text] : expected) {
        EXPECT_EQ(m_folder->itemDetail(*found, column), text) << column;
    }
}

// Each kind is typed by its name and read by its content, its length in its own count: pages
// for word processing, slides for a presentation, none for a spreadsheet.
TEST_F(NativeShellTest, answersEachDocumentKindFromItsOwnFields) {
    auto package = [](const char* mainPart, const char* root, const char* pages,
                      const char* slides) {
        DocxContent content;
        content.title = "标题";
        content.mainPart = mainPart;
        content.mainXml = std::string("<") + root + "/>";
        content.pages = pages;
        content.slides = slides;
        return content;
    };
    writeDocx(m_dir.file("REPORT.DOCM"), package("word/document.xml", "w:document", "12", ""));
    // A stray page count in a workbook is none of its own.
    writeDocx(m_dir.file("sales.xlsx"), package("xl/workbook.xml", "workbook", "3", ""));
    writeDocx(m_dir.file("talk.pptx"), package("ppt/presentation.xml", "p:presentation", "", "5"));
    auto compoundFile = [](int pages, int slides) {
        MetaData summary, documentSummary;
        summary.texts[GSF_META_NAME_TITLE] = "标题";
        summary.integers[GSF_META_NAME_PAGE_COUNT] = pages;
        documentSummary.integers[GSF_META_NAME_SLIDE_COUNT] = slides;
        return makeDoc(summary, &documentSummary);
    };
    m_dir.write("letter.wps", compoundFile(4, 0));
    m_dir.write("book.xls", compoundFile(2, 0));
    m_dir.write("slides.ppt", compoundFile(1, 7));
    // A WPS file from before it wrote compound files: a document nobody here can read.
    m_dir.write("old.wps", std::string("WPS2001") + std::string(512, '\0'));

    struct Expected {
        const char* name;
        const char* type;
        const char* kind;
        const char* title;
        const char* pages;
    };
    const Expected expected[] = {
        {"REPORT.DOCM", "Microsoft Word 启用宏的文档", "文档", "标题", "12"},
        {"sales.xlsx", "Microsoft Excel 工作表", "文档", "标题", ""},
        {"talk.pptx", "Microsoft PowerPoint 演示文稿", "演示文稿", "标题", "5"},
        {"letter.wps", "WPS 文件", "文档", "标题", "4"},
        {"book.xls", "Microsoft Excel 97-2003 工作表", "文档", "标题", ""},
        {"slides.ppt", "Microsoft PowerPoint 97-2003 演示文稿", "演示文稿", "标题", "7"},
        {"old.wps", "WPS 文件", "文档", "", ""},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(detail(e.name, 2), e.type) << e.name;
        EXPECT_EQ(detail(e.name, 9), "文档") << e.name;
        EXPECT_EQ(detail(e.name, 11), e.kind) << e.name;
        EXPECT_EQ(detail(e.name, 21), e.title) << e.name;
        EXPECT_EQ(detail(e.name, 157), e.pages) << e.name;
    }
}

TEST_F(NativeShellTest, answersTheSameTextWhenAskedTwice) {
    writeDocx(m_dir.file("report.docx"), sampleDocxContent());
    auto found = item("report.docx");
    ASSERT_NE(found, nullptr);
    for (int column : {0, 1, 3, 10, 20, 21}) {
        EXPECT_EQ(m_folder->itemDetail(*found, column), m_folder->itemDetail(*found, column));
    }
}

TEST_F(NativeShellTest, readsTheDocumentOnceWhenTheItemIsFound) {
    writeDocx(m_dir.file("report.docx"), sampleDocxContent());
    auto found = item("report.docx");
    ASSERT_NE(found, nullptr);
    DocxContent changed = sampleDocxContent();
    changed.title = "changed";
    writeDocx(m_dir.file("report.docx"), changed);
    EXPECT_EQ(m_folder->itemDetail(*found, 21), "年度报告, 第二版");
    EXPECT_EQ(detail("report.docx", 21), "changed");
}

// Announced, the text is read with the item, ahead or not; asked for unannounced, at once.
TEST_F(NativeShellTest, answersTheItemsTextWhetherAnnouncedOrNot) {
    DocxContent content;
    content.bodyXml = "<w:p><w:r><w:t>正文第一段</w:t></w:r></w:p>";
    writeDocx(m_dir.file("a.docx"), content);
    m_dir.write("b.txt", "plain text");
    for (unsigned threads : {0u, 2u}) {
        auto shell = makeReaderBackend(ReadAheadOptions{threads})->connect();
        shell->expectItems(m_dir.path(), {"a.docx", "b.txt"}, true);
        auto folder = shell->nameSpace(m_dir.path());
        shell.reset();
        auto a = folder->parseName("a.docx");
        writeDocx(m_dir.file("a.docx"), DocxContent{});
        EXPECT_EQ(folder->itemText(*a), "正文第一段") << threads;
        EXPECT_EQ(folder->itemText(*folder->parseName("b.txt")), "") << threads;
        writeDocx(m_dir.file("a.docx"), content);
    }
    EXPECT_EQ(m_folder->itemText(*item("a.docx")), "正文第一段");
}

TEST_F(NativeShellTest, givesTheFileSystemTexts) {
    m_dir.write("notes.txt", std::string(1332, 'x'));
    setTimes("notes.txt", kMay3);
    EXPECT_EQ(detail("notes.txt", 0), "notes.txt");
    EXPECT_EQ(detail("notes.txt", 1), "1.30 KB");
    EXPECT_EQ(detail("notes.txt", 2), "TXT 文件");
    EXPECT_EQ(detail("notes.txt", 3), "2024/5/3 14:22");
    EXPECT_EQ(detail("notes.txt", 5), "2024/5/3 14:22");
    EXPECT_EQ(detail("notes.txt", 9), "");
    EXPECT_EQ(detail("notes.txt", 21), "");
    struct passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(detail("notes.txt", 10), user->pw_name);
}

TEST_F(NativeShellTest, marksReadOnlyAndHiddenFiles) {
    m_dir.write("plain.docx", "x");
    m_dir.write(".hidden.docx", "x");
    m_dir.write("locked.doc", "x");
    ::chmod(m_dir.file("locked.doc").c_str(), 0444);
    EXPECT_EQ(detail("plain.docx", 6), "A");
    EXPECT_EQ(detail(".hidden.docx", 6), "HA");
    EXPECT_EQ(detail("locked.doc", 6), "RA");
    EXPECT_EQ(detail("locked.doc", 2), "Microsoft Word 97 - 2003 文档");
}

TEST_F(NativeShellTest, givesFileSystemTextsForADocumentItCannotRead) {
    m_dir.write("broken.docx", "PK\3\4 not really a package");
    m_dir.write("empty.docx");
    for (const char* name : {"broken.docx", "empty.docx"}) {
        EXPECT_EQ(detail(name, 0), name);
        EXPECT_EQ(detail(name, 2), "Microsoft Word 文档");
        EXPECT_EQ(detail(name, 21), "");
        EXPECT_EQ(detail(name, 20), "");
    }
    EXPECT_EQ(detail("empty.docx", 1), "0 字节");
}

TEST_F(NativeShellTest, answersAnUnknownColumnWithEmptyTexts) {
    writeDocx(m_dir.file("report.docx"), sampleDocxContent());
    auto found = item("report.docx");
    ASSERT_NE(found, nullptr);
    for (int column : {-1, 7, 26, 405, INT_MAX, INT_MIN}) {
        EXPECT_EQ(m_folder->itemDetail(*found, column), "") << column;
        EXPECT_EQ(m_folder->columnHeading(column), "") << column;
    }
}

TEST_F(NativeShellTest, givesTheHeadingsOfItsColumns) {
    EXPECT_EQ(m_folder->columnHeading(0), "名称");
    EXPECT_EQ(m_folder->columnHeading(2), "类型");
    EXPECT_EQ(m_folder->columnHeading(21), "标题");
    EXPECT_EQ(m_folder->columnHeading(160), "字数");
}

TEST_F(NativeShellTest, readsRealDocumentsOfBothFormats) {
    const std::string folder = std::string(TARNEL_CORPUS_DIR) + "/poi";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    auto corpus = m_shell->nameSpace(folder);
    ASSERT_NE(corpus, nullptr);
    auto titleOf = [&](const std::string& name) {
        auto found = corpus->parseName(name);
        return found ? corpus->itemDetail(*found, 21) : "(no item)";
    };
    EXPECT_EQ(titleOf("stress009.docx"), "NANDrive 微型固态硬盘设计方案");
    EXPECT_EQ(titleOf("MultipleBodyBug.docx"), "1,2-双(二苯基膦)乙烷");
    EXPECT_EQ(titleOf("TestChineseProperties.doc"), "參考資料");
    auto textOf = [&](const std::string& name) {
        auto found = corpus->parseName(name);
        return found ? corpus->itemText(*found) : "(no item)";
    };
    EXPECT_EQ(textOf("61470.docx"), "東京");
    EXPECT_EQ(textOf("61490.doc"), "居中的大标题");
}
