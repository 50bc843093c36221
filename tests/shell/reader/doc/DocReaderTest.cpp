#include "DocReader.h"
#include "DocumentFile.h"
#include "DocumentReading.h"

#include <gsf/gsf-meta-names.h>
#include <gtest/gtest.h>

#include <random>

#include "CodePageIconv.h"
#include "OleFixture.h"
#include "TempDir.h"

namespace {

constexpr std::uint16_t kVtI2 = 2;
constexpr std::uint16_t kVtI4 = 3;
constexpr std::uint16_t kVtLpstr = 30;
constexpr std::uint16_t kVtLpwstr = 31;
constexpr std::uint16_t kVtFiletime = 64;

const char* const kChineseTitle = "中文标题, 第二部分";

std::optional<DocumentProperties> read(const std::string& bytes) {
    return readFromMemory(readDoc, bytes.data(), bytes.size());
}

std::string le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    return out;
}

std::string lpstr(const std::string& bytes) {
    return le(bytes.size() + 1, 4) + bytes + '\0';
}

RawProperty codePage(std::uint16_t page) {
    return {1, kVtI2, le(page, 2)};
}

std::string summaryDoc(const std::vector<RawProperty>& properties) {
    return makeOleFile(
        {{"\005SummaryInformation", propertySetStream(kSummaryFormatId, properties)}});
}

}  // namespace

TEST(DocReader, readsAChineseTitleInCodePage936AndInUtf8) {
    for (int page : {936, 65001}) {
        MetaData meta;
        meta.codePage = page;
        meta.texts[GSF_META_NAME_TITLE] = kChineseTitle;
        meta.texts[GSF_META_NAME_CREATOR] = "张三; 李四";
        auto properties = read(makeDoc(meta));
        ASSERT_TRUE(properties) << page;
        EXPECT_EQ(properties->title, kChineseTitle) << page;
        EXPECT_EQ(properties->authors, "张三; 李四") << page;
    }
}

TEST(DocReader, readsCyrillicInCodePage1251) {
    MetaData meta;
    meta.codePage = 1251;
    meta.texts[GSF_META_NAME_TITLE] = "Кредитование физических лиц";
    meta.texts[GSF_META_NAME_KEYWORDS] = "автомобиль, кредит";
    auto properties = read(makeDoc(meta));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "Кредитование физических лиц");
    EXPECT_EQ(properties->keywords, "автомобиль, кредит");
}

TEST(DocReader, readsEveryPropertyOfBothSets) {
    MetaData summary;
    summary.codePage = 65001;
    summary.texts = {{GSF_META_NAME_TITLE, "标题"},
                     {GSF_META_NAME_SUBJECT, "主题"},
                     {GSF_META_NAME_CREATOR, "作者甲; 作者乙"},
                     {GSF_META_NAME_KEYWORDS, "关键词"},
                     {GSF_META_NAME_DESCRIPTION, "备注"},
                     {GSF_META_NAME_TEMPLATE, "Normal.dot"},
                     {GSF_META_NAME_LAST_SAVED_BY, "王五"},
                     {GSF_META_NAME_REVISION_COUNT, "12"},
                     {GSF_META_NAME_GENERATOR, "Microsoft Word 10.0"}};
    summary.integers = {{GSF_META_NAME_PAGE_COUNT, 3},
                        {GSF_META_NAME_WORD_COUNT, 456},
                        {GSF_META_NAME_CHARACTER_COUNT, 7890}};
    summary.times = {{GSF_META_NAME_DATE_CREATED, 1068221640},
                     {GSF_META_NAME_DATE_MODIFIED, 1252040280},
                     {GSF_META_NAME_LAST_PRINTED, 1496272260}};
    MetaData document;
    document.codePage = 936;
    document.texts = {{GSF_META_NAME_CATEGORY, "类别"},
                      {GSF_META_NAME_MANAGER, "经理"},
                      {GSF_META_NAME_COMPANY, "公司"}};

    auto properties = read(makeDoc(summary, &document));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "标题");
    EXPECT_EQ(properties->subject, "主题");
    EXPECT_EQ(properties->authors, "作者甲; 作者乙");
    EXPECT_EQ(properties->keywords, "关键词");
    EXPECT_EQ(properties->comments, "备注");
    EXPECT_EQ(properties->templateName, "Normal.dot");
    EXPECT_EQ(properties->lastAuthor, "王五");
    EXPECT_EQ(properties->revision, "12");
    EXPECT_EQ(properties->application, "Microsoft Word 10.0");
    EXPECT_EQ(properties->pages, 3);
    EXPECT_EQ(properties->words, 456);
    EXPECT_EQ(properties->characters, 7890);
    EXPECT_EQ(properties->created, 1068221640);
    EXPECT_EQ(properties->lastSaved, 1252040280);
    EXPECT_EQ(properties->lastPrinted, 1496272260);
    EXPECT_EQ(properties->category, "类别");
    EXPECT_EQ(properties->manager, "经理");
    EXPECT_EQ(properties->company, "公司");
}

TEST(DocReader, readsUtf16StringsAndTheEditingTimeInSeconds) {
    std::string utf16 = std::string("\x2D\x4E\x87\x65", 4);  // 中文
    auto properties = read(summaryDoc({
        codePage(1200),
        {2, kVtLpstr, le(utf16.size() + 2, 4) + utf16 + std::string(2, '\0')},
        {4, kVtLpwstr, le(3, 4) + utf16 + std::string(2, '\0')},
        {10, kVtFiletime, le(90'000'000'000ull + 9'999'999, 8)},  // 2.5 hours and a bit
        {11, kVtFiletime, le(0, 8)},
        {14, kVtI2, le(0xFFFF, 2)},
    }));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "中文");
    EXPECT_EQ(properties->authors, "中文");
    EXPECT_EQ(properties->editingSeconds, 9000);
    EXPECT_FALSE(properties->lastPrinted) << "a zero time is one that never happened";
    EXPECT_EQ(properties->pages, -1);
}

TEST(DocReader, keepsWhatItCanOfBadlyWrittenStrings) {
    auto properties = read(summaryDoc({
        codePage(1252),
        // Text after the terminator is a writer's leftovers.
        {2, kVtLpstr, lpstr(std::string("Caf\xE9\0junk", 9))},
        // A count past the end of the stream is cut to the stream.
        {3, kVtLpstr, le(0x7FFFFFFF, 4) + "cut"},
        {5, kVtI4, le(5, 4)},
    }));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "Café");
    EXPECT_EQ(properties->subject, "cut");
    EXPECT_EQ(properties->keywords, "") << "an integer is no text";
}

TEST(DocReader, marksUndefinedBytesAndReadsAnUnknownCodePageAs1252) {
    auto undefined = read(summaryDoc({codePage(936), {2, kVtLpstr, lpstr("\xD6\xD0\xFF")}}));
    ASSERT_TRUE(undefined);
    EXPECT_EQ(undefined->title, "中\xEF\xBF\xBD");
    auto unknown = read(summaryDoc({codePage(12345), {2, kVtLpstr, lpstr("na\xEFve")}}));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->title, "naïve");
}

TEST(DocReader, ignoresValuesWhoseOffsetsLeaveTheStream) {
    std::string stream = propertySetStream(kSummaryFormatId, {{2, kVtLpstr, lpstr("Title")}});
    // The first table entry's offset, 48 (section) + 8 (size, count) + 4 (property id).
    stream.replace(60, 4, le(0xFFFFFFF0, 4));
    auto properties = read(makeOleFile({{"\005SummaryInformation", stream}}));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "");
}

TEST(DocReader, answersNothingForWhatIsNoCompoundFile) {
    EXPECT_FALSE(readFromMemory(readDoc, nullptr, 10));
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(read("PK\003\004 not an OLE2 file at all"));
    std::string header = makeDoc({});
    EXPECT_FALSE(read(header.substr(0, 511)));
    EXPECT_FALSE(readDocumentFile("/nonexistent/file.doc"));
    TempDir dir;
    EXPECT_FALSE(readDocumentFile(dir.path()));
}

TEST(DocReader, readsAFileAsItReadsMemory) {
    MetaData meta;
    meta.texts[GSF_META_NAME_TITLE] = kChineseTitle;
    std::string bytes = makeDoc(meta);
    TempDir dir;
    dir.write("a.doc", bytes);
    auto properties = readDocumentFile(dir.file("a.doc"));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, kChineseTitle);
}

TEST(DocReader, survivesEveryTruncationAndRandomDamage) {
    MetaData summary;
    summary.texts[GSF_META_NAME_TITLE] = kChineseTitle;
    summary.integers[GSF_META_NAME_PAGE_COUNT] = 3;
    MetaData document;
    document.texts[GSF_META_NAME_COMPANY] = "公司";
    std::string bytes = makeDoc(summary, &document);

    for (std::size_t size = 0; size < bytes.size(); size += 7) {
        auto properties = read(bytes.substr(0, size));
        if (properties && !properties->title.empty()) {
            EXPECT_EQ(properties->title, kChineseTitle) << size;
        }
    }
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = bytes;
        for (int i = 0; i < 8; ++i)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        read(damaged);
    }
}

TEST(DocReader, endsChainsAndDirectoryTreesThatLoop) {
    MetaData meta;
    meta.texts[GSF_META_NAME_TITLE] = "loop";
    std::string bytes = makeDoc(meta);
    // Every allocation-table entry of the first table sector points at sector 0, and the
    // root's child points back at the root.
    std::string looped = bytes;
    std::uint32_t fatSector = static_cast<unsigned char>(bytes[0x4C]);
    for (std::size_t i = 0; i < 128; ++i)
        looped.replace(512 * (fatSector + 1) + 4 * i, 4, le(0, 4));
    read(looped);

    std::string tree = bytes;
    std::uint32_t directory = static_cast<unsigned char>(bytes[0x30]);
    std::size_t root = 512 * (directory + 1);
    for (std::size_t link : {0x44, 0x48, 0x4C})
        tree.replace(root + link, 4, le(0, 4));
    for (std::size_t entry = 1; entry < 4; ++entry)
        tree.replace(root + 128 * entry + 0x44, 4, le(entry, 4));
    auto properties = read(tree);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "");
}

TEST(DocReader, keepsTheLastCharacterOfAComposingCodePage) {
    MetaData meta;
    meta.codePage = 1255;
    meta.texts[GSF_META_NAME_TITLE] = "צעד משמעותי ליישום";
    auto properties = read(makeDoc(meta));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "צעד משמעותי ליישום");
}

TEST(DocReader, findsStreamsAndSectionsWrittenInOddButReadableForms) {
    std::string stream = propertySetStream(kSummaryFormatId, {{2, kVtLpstr, lpstr("Inverted")}});
    // The format id's first three fields big-endian, the stream's name in lower case.
    const unsigned char bigEndian[] = {0xF2, 0x9F, 0x85, 0xE0, 0x4F, 0xF9, 0x10, 0x68};
    stream.replace(28, 8, reinterpret_cast<const char*>(bigEndian), 8);
    auto properties = read(makeOleFile({{"\005summaryinformation", stream}}));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "Inverted");
}

TEST(CodePageText, fallsBackWithoutRecursingWhenConvertersDoNotOpen) {
    ConverterOpener none = [](const char*, const char*) { return reinterpret_cast<iconv_t>(-1); };
    ConverterOpener only1252 = [](const char* to, const char* from) {
        return std::string_view(from) == "CP1252" ? iconv_open(to, from)
                                                  : reinterpret_cast<iconv_t>(-1);
    };
    struct Case {
        ConverterOpener open;
        std::string bytes;
        std::uint16_t codePage;
        const char* text;
    };
    const Case cases[] = {
        {only1252, "\x80 Caf\xE9", 936, "€ Café"},
        // No converter at all: Latin-1 for bytes, code points for UTF-16 units.
        {none, "\x80 Caf\xE9", 1252, "\u0080 Café"},
        {none, std::string("\xD6\xD0\0tail", 7), 936, "ÖÐ"},
        {none, std::string("A\0\x2D\x4E\0\0", 6), 1200, "A中"},
        {none, std::string("\x4E\x2D", 2), 1201, "中"},
        {none, std::string("\x3D\xD8\x41\0", 4), 1200, "\uFFFDA"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(codePageToUtf8(test.bytes, test.codePage, test.open), test.text) << test.text;
    }
}

TEST(DocReader, readsACompoundFileWhateverItsName) {
    MetaData meta;
    meta.texts[GSF_META_NAME_TITLE] = kChineseTitle;
    TempDir dir;
    for (const char* name : {"doc", "report.docx", "report.txt"}) {
        dir.write(name, makeDoc(meta));
        auto properties = readDocumentFile(dir.file(name));
        ASSERT_TRUE(properties) << name;
        EXPECT_EQ(properties->title, kChineseTitle) << name;
    }
}
