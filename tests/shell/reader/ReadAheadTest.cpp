#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "DocumentReading.h"
#include "DocxFixture.h"
#include "ReadAhead.h"
#include "TempDir.h"

namespace {

class ReadAheadTest : public ::testing::Test {
  protected:
    void writeTitled(const std::string& name, const std::string& title) {
        DocxContent content;
        content.title = title;
        writeDocx(m_dir.file(name), content);
    }
    std::string titleOf(const std::optional<ItemFacts>& facts) {
        if (!facts)
            return "(no item)";
        return facts->document ? facts->document->title : "(no document)";
    }

    TempDir m_dir;
};

}  // namespace

// Every change a document can go through after it was read ahead shows at its turn.
TEST_F(ReadAheadTest, givesEachDocumentAsItIsAtItsTurn) {
    std::vector<std::string> names = {"same.docx",     "rewritten.docx", "removed.docx",
                                      "replaced.docx", "touched.docx",   "last.docx"};
    for (const std::string& name : names)
        writeTitled(name, "old " + name);
    ReadAhead readAhead(m_dir.path(), names, ReadAheadOptions{4, 64}, false);
    ASSERT_TRUE(waitFor([&] { return readAhead.documentsRead() == names.size(); }));

    writeTitled("rewritten.docx", "new content");
    ASSERT_EQ(std::remove(m_dir.file("removed.docx").c_str()), 0);
    writeTitled("other.docx", "moved in");
    ASSERT_EQ(std::rename(m_dir.file("other.docx").c_str(), m_dir.file("replaced.docx").c_str()),
              0);

    EXPECT_EQ(titleOf(readAhead.facts("same.docx")), "old same.docx");
    EXPECT_EQ(titleOf(readAhead.facts("rewritten.docx")), "new content");
    EXPECT_EQ(titleOf(readAhead.facts("removed.docx")), "(no item)");
    EXPECT_EQ(titleOf(readAhead.facts("replaced.docx")), "moved in");
    // A name out of the expected order is read as it is, and the order goes on after it.
    EXPECT_EQ(titleOf(readAhead.facts("same.docx")), "old same.docx");
    EXPECT_EQ(titleOf(readAhead.facts("missing.docx")), "(no item)");
    EXPECT_EQ(titleOf(readAhead.facts("last.docx")), "old last.docx");
}

std::size_t threadsOfThisProcess() {
    std::size_t threads = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++threads;
    return threads;
}

// The window bounds what is read before the job asks, and no thread outlives the read-ahead.
TEST_F(ReadAheadTest, readsNoFurtherThanTheWindowAndLeavesNoThreadBehind) {
    std::vector<std::string> names;
    for (int i = 0; i < 600; ++i) {
        names.push_back("d" + std::to_string(i) + ".docx");
        m_dir.write(names.back(), "not a zip");
    }
    std::size_t threadsBefore = threadsOfThisProcess();
    {
        ReadAhead readAhead(m_dir.path(), names, ReadAheadOptions{16, 256}, false);
        ASSERT_TRUE(waitFor([&] { return readAhead.documentsRead() == 256; }));
        for (int i = 0; i < 128; ++i)
            ASSERT_TRUE(readAhead.facts(names[i]));
        ASSERT_TRUE(waitFor([&] { return readAhead.documentsRead() == 256 + 128; }));
        EXPECT_EQ(readAhead.documentsRead(), 256u + 128u);
        EXPECT_GT(threadsOfThisProcess(), threadsBefore);
    }
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore);
}

// The threads stop once the texts they hold pass the bound, go on as the job takes them, and
// the job's own turn is read even when one document alone holds more than the bound.
TEST_F(ReadAheadTest, holdsNoMoreTextThanTheByteBoundAllows) {
    const std::string longTitle(kMaxTextBytes + 100, 't');
    const std::string keptTitle = longTitle.substr(0, kMaxTextBytes);
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        names.push_back("d" + std::to_string(100 + i) + ".docx");  // all of one length
        writeTitled(names.back(), longTitle);
    }
    const std::size_t slotBytes = kMaxTextBytes + names[0].size() + 4;
    {
        // One thread, so that it stops exactly at the first document past the bound.
        ReadAhead readAhead(m_dir.path(), names, ReadAheadOptions{1, 256, 10 * slotBytes - 1},
                            false);
        ASSERT_TRUE(waitFor([&] { return readAhead.documentsRead() >= 10; }));
        EXPECT_EQ(readAhead.documentsRead(), 10u);
        for (const std::string& name : names)
            ASSERT_TRUE(titleOf(readAhead.facts(name)) == keptTitle) << name;
    }
    ReadAhead oneAtATime(m_dir.path(), names, ReadAheadOptions{4, 256, 1}, false);
    for (const std::string& name : names)
        ASSERT_TRUE(titleOf(oneAtATime.facts(name)) == keptTitle) << name;
}

// The texts of documents read ahead count against the bound as their properties do.
TEST_F(ReadAheadTest, countsTheTextsAgainstTheByteBound) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "字";
    DocxContent content;
    content.bodyXml = "<w:p><w:r><w:t>" + text + "</w:t></w:r></w:p>";
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        names.push_back("d" + std::to_string(100 + i) + ".docx");
        writeDocx(m_dir.file(names.back()), content);
    }
    const std::size_t slotBytes = text.size() + names[0].size() + 4;
    ReadAhead readAhead(m_dir.path(), names, ReadAheadOptions{1, 256, 10 * slotBytes - 1}, true);
    ASSERT_TRUE(waitFor([&] { return readAhead.documentsRead() >= 10; }));
    EXPECT_EQ(readAhead.documentsRead(), 10u);
    EXPECT_EQ(readAhead.facts(names[0])->text, text);
}
