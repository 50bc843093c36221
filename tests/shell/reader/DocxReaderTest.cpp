#include "DocxReader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <initializer_list>
#include <random>

#include "DocumentFile.h"
#include "DocumentReading.h"
#include "DocxFixture.h"
#include "TempDir.h"

namespace {

class DocxReaderTest : public ::testing::Test {
  protected:
    std::string zipBytes(const std::vector<ZipPart>& parts) {
        writeZip(m_dir.file("package.zip"), parts);
        return readFile(m_dir.file("package.zip"));
    }
    std::string docxBytes(const DocxContent& content) { return zipBytes(docxParts(content)); }

    TempDir m_dir;
};

std::optional<DocumentProperties> readBytes(const std::string& bytes) {
    return readFromMemory(readDocx, bytes.data(), bytes.size());
}

// The package reads, but without its core properties: the app part's company is there.
::testing::AssertionResult lostOnlyCoreProperties(const std::string& bytes) {
    auto properties = readBytes(bytes);
    if (!properties)
        return ::testing::AssertionFailure() << "the package did not read";
    if (!properties->title.empty() || !properties->authors.empty())
        return ::testing::AssertionFailure() << "core properties read: " << properties->title;
    if (properties->company != "示例公司")
        return ::testing::AssertionFailure() << "app properties lost";
    return ::testing::AssertionSuccess();
}

std::string titleOf(const std::string& bytes) {
    auto properties = readBytes(bytes);
    return properties ? properties->title : std::string();
}

// The offset of the central directory record of that entry.
std::size_t centralRecord(const std::string& zip, const std::string& name) {
    for (std::size_t at = zip.find("PK\1\2"); at != std::string::npos;
         at = zip.find("PK\1\2", at + 1)) {
        if (zip.compare(at + 46, name.size(), name) == 0)
            return at;
    }
    ADD_FAILURE() << "no entry " << name;
    return 0;
}

std::size_t endRecord(const std::string& zip) {
    return zip.rfind("PK\5\6");
}

void put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xff);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, static_cast<std::uint16_t>(value & 0xffff));
    put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string randomBytes(std::size_t size) {
    std::mt19937_64 random(42);
    std::string bytes(size, '\0');
    for (std::size_t at = 0; at + 8 <= size; at += 8) {
        std::uint64_t value = random();
        std::memcpy(bytes.data() + at, &value, 8);
    }
    return bytes;
}

struct Field {
    std::uint64_t value;
    int bytes;
};

void append(std::string& out, std::initializer_list<Field> fields) {
    for (auto [value, bytes] : fields) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>(value >> (8 * i) & 0xff);
    }
}

// A package of one stored part, written the way ZIP64 writers do it: every size and offset
// in the classic fields saturated, the real ones in the ZIP64 extra fields and end record.
// zip64Extra: the length the directory entry claims for its ZIP64 field.
std::string zip64Package(const std::string& name, const std::string& content,
                         std::uint16_t zip64Extra = 24) {
    const std::uint32_t crc =
        crc32(0, reinterpret_cast<const Bytef*>(content.data()), content.size());
    const std::uint64_t size = content.size();
    const Field saturated{0xffffffff, 4};
    std::string out;
    // Version needed, flags, stored, time and date, CRC, sizes and the name's length: the
    // same in the local header and in the directory.
    auto entryFields = [&] {
        append(out,
               {{45, 2}, {0, 2}, {0, 2}, {0, 4}, {crc, 4}, saturated, saturated, {name.size(), 2}});
    };
    append(out, {{0x04034b50, 4}});
    entryFields();
    append(out, {{20, 2}});
    out += name;
    append(out, {{0x0001, 2}, {16, 2}, {size, 8}, {size, 8}});
    out += content;

    // Then the extra field's, the comment's length, disk, attributes, local header offset.
    const std::uint64_t directory = out.size();
    append(out, {{0x02014b50, 4}, {45, 2}});
    entryFields();
    append(out, {{28, 2}, {0, 2}, {0, 2}, {0, 2}, {0, 4}, saturated});
    out += name;
    append(out, {{0x0001, 2}, {zip64Extra, 2}, {size, 8}, {size, 8}, {0, 8}});
    const std::uint64_t directorySize = out.size() - directory;

    // The ZIP64 end record, its locator and the classic end record.
    const std::uint64_t zip64End = out.size();
    append(out, {{0x06064b50, 4},
                 {44, 8},
                 {45, 2},
                 {45, 2},
                 {0, 4},
                 {0, 4},
                 {1, 8},
                 {1, 8},
                 {directorySize, 8},
                 {directory, 8}});
    append(out, {{0x07064b50, 4}, {0, 4}, {zip64End, 8}, {1, 4}});
    append(
        out,
        {{0x06054b50, 4}, {0, 2}, {0, 2}, {0xffff, 2}, {0xffff, 2}, saturated, saturated, {0, 2}});
    return out;
}

// Counts what the reader asks of a document held in memory.
class CountingSource : public ByteSource {
  public:
    explicit CountingSource(const std::string& bytes) : m_memory(bytes.data(), bytes.size()) {}
    std::uint64_t size() const override { return m_memory.size(); }
    bool read(std::uint64_t offset, std::size_t length, std::string& out) override {
        m_bytesRead += length;
        return m_memory.read(offset, length, out);
    }
    std::uint64_t bytesRead() const { return m_bytesRead; }

  private:
    MemorySource m_memory;
    std::uint64_t m_bytesRead = 0;
};

}  // namespace

TEST_F(DocxReaderTest, readsEveryCoreAndAppProperty) {
    auto properties = readBytes(docxBytes(sampleDocxContent()));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "年度报告, 第二版");
    EXPECT_EQ(properties->subject, "财务");
    EXPECT_EQ(properties->authors, "张三; 李四");
    EXPECT_EQ(properties->keywords, "预算; 计划");
    EXPECT_EQ(properties->comments, "内部 & 机密");
    EXPECT_EQ(properties->category, "报告");
    EXPECT_EQ(properties->lastAuthor, "王五");
    EXPECT_EQ(properties->revision, "7");
    EXPECT_EQ(properties->created, 1714717320);
    EXPECT_EQ(properties->lastSaved, 1714803720);
    EXPECT_EQ(properties->lastPrinted, 1714867200);
    EXPECT_EQ(properties->application, "Word Processor");
    EXPECT_EQ(properties->company, "示例公司");
    EXPECT_EQ(properties->manager, "赵六");
    EXPECT_EQ(properties->templateName, "Normal.dotm");
    EXPECT_EQ(properties->pages, 12);
    EXPECT_EQ(properties->words, 3456);
    EXPECT_EQ(properties->characters, 19876);
    EXPECT_EQ(properties->editingSeconds, 65 * 60);
}

TEST_F(DocxReaderTest, joinsSeveralAuthorsAndNestedKeywordsWithSemicolons) {
    std::vector<ZipPart> parts = docxParts(DocxContent{});
    parts[3] = {"docProps/core.xml",
                "<cp:coreProperties xmlns:cp=\"c\" xmlns:dc=\"d\"><dc:creator>甲</dc:creator>"
                "<dc:creator>乙</dc:creator><dc:creator/><cp:keywords><cp:value>一</cp:value>"
                "<cp:value>二</cp:value></cp:keywords></cp:coreProperties>"};
    auto properties = readBytes(zipBytes(parts));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->authors, "甲; 乙");
    EXPECT_EQ(properties->keywords, "一; 二");
}

TEST_F(DocxReaderTest, leavesOutNumbersAndDatesItCannotRead) {
    DocxContent content;
    content.pages = "many";
    content.words = "-";
    content.created = "last week";
    content.totalTime = "-5";
    auto properties = readBytes(docxBytes(content));
    ASSERT_TRUE(properties);
    EXPECT_FALSE(properties->pages);
    EXPECT_FALSE(properties->words);
    EXPECT_FALSE(properties->created);
    EXPECT_FALSE(properties->editingSeconds);
}

TEST_F(DocxReaderTest, findsThePropertyPartsThroughThePackageRelationships) {
    DocxContent content;
    content.title = "named by the relationships";
    content.corePart = "meta/Props-Core.xml";
    content.company = "示例公司";
    content.appPart = "meta/extended.xml";
    std::vector<ZipPart> parts = docxParts(content);
    DocxContent decoy;
    decoy.title = "decoy";
    parts.push_back({"docProps/core.xml", coreXml(decoy)});
    auto properties = readBytes(zipBytes(parts));
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "named by the relationships");
    EXPECT_EQ(properties->company, "示例公司");
}

TEST_F(DocxReaderTest, fallsBackToTheUsualPartNamesWithoutRelationships) {
    std::vector<ZipPart> parts = docxParts(sampleDocxContent());
    std::erase_if(parts, [](const ZipPart& part) { return part.name == "_rels/.rels"; });
    EXPECT_EQ(titleOf(zipBytes(parts)), "年度报告, 第二版");
}

TEST_F(DocxReaderTest, answersEmptyPropertiesForAPackageWithoutCoreProperties) {
    DocxContent content = sampleDocxContent();
    content.corePart.clear();
    EXPECT_TRUE(lostOnlyCoreProperties(docxBytes(content)));
}

TEST_F(DocxReaderTest, readsOnlyThePropertyPartsOfALargeDocument) {
    std::vector<ZipPart> parts = docxParts(sampleDocxContent());
    parts.insert(parts.begin() + 2, {"word/media/image1.png", randomBytes(50 << 20), false});
    std::string bytes = zipBytes(parts);
    ASSERT_GT(bytes.size(), 50u << 20);

    CountingSource source(bytes);
    auto properties = readDocx(source);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "年度报告, 第二版");
    EXPECT_LT(source.bytesRead(), 256u << 10);
    EXPECT_EQ(readDocumentFile(m_dir.file("package.zip"))->title, "年度报告, 第二版");
}

TEST_F(DocxReaderTest, refusesWhatIsNotAZipPackage) {
    const std::string ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    for (const std::string& bytes :
         {std::string(), std::string("PK"), std::string("plain text, not a package"),
          ole2 + std::string(4096, '\0'), randomBytes(1 << 20)}) {
        EXPECT_FALSE(readBytes(bytes)) << bytes.size();
    }
    EXPECT_FALSE(readFromMemory(readDocx, nullptr, 100));
    EXPECT_FALSE(readDocumentFile(m_dir.file("missing.docx")));
    EXPECT_FALSE(readDocumentFile(m_dir.path()));
}

TEST_F(DocxReaderTest, readsNothingFromATruncatedPackage) {
    std::string bytes = docxBytes(sampleDocxContent());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_EQ(titleOf(bytes.substr(0, size)), "") << size;
    }
}

TEST_F(DocxReaderTest, survivesEveryDamagedByteOfTheDirectory) {
    std::string bytes = docxBytes(sampleDocxContent());
    std::size_t directory = bytes.find("PK\1\2");
    ASSERT_NE(directory, std::string::npos);
    for (std::size_t at = directory; at < bytes.size(); ++at) {
        for (char damage : {'\0', '\xff', '\x7f'}) {
            std::string damaged = bytes;
            damaged[at] = damage;
            auto properties = readBytes(damaged);
            // Damage to a name or a date changes nothing the reader needs; the title stays
            // either right or empty.
            if (properties && !properties->title.empty()) {
                EXPECT_EQ(properties->title, "年度报告, 第二版") << at;
            }
        }
    }
}

TEST_F(DocxReaderTest, refusesOffsetsAndSizesOutsideTheFile) {
    const std::string bytes = docxBytes(sampleDocxContent());
    const std::uint32_t beyond = static_cast<std::uint32_t>(bytes.size());

    std::string directoryBeyond = bytes;
    put32(directoryBeyond, endRecord(bytes) + 16, beyond);
    EXPECT_FALSE(readBytes(directoryBeyond));

    std::string directoryTooLong = bytes;
    put32(directoryTooLong, endRecord(bytes) + 12, beyond);
    EXPECT_FALSE(readBytes(directoryTooLong));

    std::string tooManyEntries = bytes;
    put16(tooManyEntries, endRecord(bytes) + 10, 200);
    EXPECT_FALSE(readBytes(tooManyEntries));

    // A damaged entry loses that part only.
    for (std::size_t field : {42u, 20u}) {
        std::string entryBeyond = bytes;
        put32(entryBeyond, centralRecord(bytes, "docProps/core.xml") + field, beyond - 10);
        EXPECT_TRUE(lostOnlyCoreProperties(entryBeyond)) << field;
    }
}

TEST_F(DocxReaderTest, refusesEncryptedDamagedAndUnknownEntries) {
    const std::string bytes = docxBytes(sampleDocxContent());
    const std::size_t core = centralRecord(bytes, "docProps/core.xml");
    std::string encrypted = bytes, wrongCrc = bytes, otherMethod = bytes;
    put16(encrypted, core + 8, 1);
    put32(wrongCrc, core + 16, 0x12345678);
    put16(otherMethod, core + 10, 12);
    for (const std::string& damaged : {encrypted, wrongCrc, otherMethod}) {
        EXPECT_TRUE(lostOnlyCoreProperties(damaged));
    }
}

TEST_F(DocxReaderTest, refusesSaturatedZip64FieldsWithoutTheirRecords) {
    const std::string bytes = docxBytes(sampleDocxContent());
    std::string saturatedDirectory = bytes;
    put32(saturatedDirectory, endRecord(bytes) + 16, 0xffffffff);
    EXPECT_FALSE(readBytes(saturatedDirectory));

    std::string saturatedEntry = bytes;
    put32(saturatedEntry, centralRecord(bytes, "docProps/core.xml") + 42, 0xffffffff);
    EXPECT_FALSE(readBytes(saturatedEntry));
}

TEST_F(DocxReaderTest, capsWhatAPartMayInflateTo) {
    DocxContent content = sampleDocxContent();
    std::vector<ZipPart> parts = docxParts(content);
    // A valid part that inflates to 64 MiB, 1/1000 of it on disk.
    parts[3].content = coreXml(content) + std::string(64 << 20, ' ');
    const std::string bomb = zipBytes(parts);
    ASSERT_LT(bomb.size(), 1u << 20);

    std::string understated = bomb;
    put32(understated, centralRecord(bomb, "docProps/core.xml") + 24, 1000);
    for (const std::string& bytes : {bomb, understated}) {
        EXPECT_TRUE(lostOnlyCoreProperties(bytes));
    }
}

TEST_F(DocxReaderTest, readsAZip64Package) {
    DocxContent content;
    content.title = "大文件";
    EXPECT_EQ(titleOf(zip64Package("docProps/core.xml", coreXml(content))), "大文件");
    EXPECT_FALSE(readBytes(zip64Package("docProps/core.xml", coreXml(content), 8)));
}

TEST_F(DocxReaderTest, prefersTheStandardCorePropertiesOverADraftOne) {
    DocxContent standard, draft;
    standard.title = "standard";
    draft.title = "draft";
    const std::string relationship =
        "<Relationship Id=\"r%\" Type=\"http://schemas.openxmlformats.org/%/metadata/"
        "core-properties\" Target=\"%\"/>";
    auto entry = [&](const char* id, const char* space, const char* target) {
        std::string text = relationship;
        for (const char* value : {id, space, target})
            text.replace(text.find('%'), 1, value);
        return text;
    };
    const std::string draftEntry = entry("1", "officedocument/2006/relationships", "draft.xml");
    const std::string standardEntry = entry("2", "package/2006/relationships", "standard.xml");
    for (const std::string& entries : {draftEntry + standardEntry, standardEntry + draftEntry}) {
        std::vector<ZipPart> parts{
            {"_rels/.rels", "<Relationships>" + entries + "</Relationships>"},
            {"draft.xml", coreXml(draft)},
            {"standard.xml", coreXml(standard)}};
        EXPECT_EQ(titleOf(zipBytes(parts)), "standard");
    }
}

TEST_F(DocxReaderTest, keepsATitleOfWhiteSpaceAsItIs) {
    DocxContent content;
    content.title = "  ";
    EXPECT_EQ(titleOf(docxBytes(content)), "  ");
}

// Each run of ill-formed sequences becomes one U+FFFD, and every text is cut to its first
// kMaxTextBytes at a character's end: a hostile text never grows, valid text stays.
TEST_F(DocxReaderTest, marksEachRunOfIllFormedUtf8OnceAndCapsEveryText) {
    const std::string cap(kMaxTextBytes, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {"d\xC0/escaped", "d\uFFFD/escaped"},        // a lead byte swallowing a "/"
        {"a\xC0\nb", "a\uFFFD\nb"},                  // or a line feed
        {"\xE4\xB8", "\uFFFD"},                      // cut off at the end
        {"\xF0\x9F\x98!", "\uFFFD!"},                // one mark for the maximal subpart
        {"\xC1\xBF|\xE0\x80\x80", "\uFFFD|\uFFFD"},  // overlong
        {"\xED\xA0\x80", "\uFFFD"},                  // a surrogate
        {"\xF4\x90\x80\x80", "\uFFFD"},              // past U+10FFFF
        {"\x80\xBF", "\uFFFD"},                      // stray continuation bytes
        {"\xC3\xC3\xC3\xA9", "\uFFFD\u00E9"},        // a run ends where a character starts
        {"x" + std::string(4 * kMaxTextBytes, '\xFF') + "y", "x\uFFFD"},  // "y" is past the cap
        {"中文 \xF0\x9F\x98\x80 ok", "中文 \xF0\x9F\x98\x80 ok"},
        {cap, cap},
        {cap + "b", cap},
        {cap.substr(1) + "中", cap.substr(1)},  // no character cut in two
    };
    for (const auto& [bytes, expected] : cases) {
        DocxContent content;
        content.title = bytes;
        content.company = bytes;
        auto properties = readBytes(docxBytes(content));
        ASSERT_TRUE(properties) << bytes.substr(0, 40);
        EXPECT_EQ(properties->title, expected) << bytes.substr(0, 40);
        EXPECT_EQ(properties->company, expected) << bytes.substr(0, 40);
    }
}
