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
    // A read-ahead told of names in the test's folder.
    std::unique_ptr<ReadAhead> readAheadOf(const std::vector<std::string>& names,
                                           ReadAheadOptions options, bool withText = false) {
        auto readAhead = std::make_unique<ReadAhead>(options, withText);
        readAhead->expect(m_dir.path(), names);
        return readAhead;
    }
    std::optional<ItemFacts> factsOf(ReadAhead& readAhead, const std::string& name) {
        return readAhead.facts(m_dir.path(), name);
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
    auto readAhead = readAheadOf(names, ReadAheadOptions{4, 64});
    ASSERT_TRUE(waitFor([&] { return readAhead->documentsRead() == names.size(); }));

    writeTitled("rewritten.docx", "new content");
    ASSERT_EQ(std::remove(m_dir.file("removed.docx").c_str()), 0);
    writeTitled("other.docx", "moved in");
    ASSERT_EQ(std::rename(m_dir.file("other.docx").c_str(), m_dir.file("replaced.docx").c_str()),
              0);

    EXPECT_EQ(titleOf(factsOf(*readAhead, "same.docx")), "old same.docx");
    EXPECT_EQ(titleOf(factsOf(*readAhead, "rewritten.docx")), "new content");
    EXPECT_EQ(titleOf(factsOf(*readAhead, "removed.docx")), "(no item)");
    EXPECT_EQ(titleOf(factsOf(*readAhead, "replaced.docx")), "moved in");
    // A name out of the expected order is read as it is, and the order goes on after it,
    // past the names not asked for.
    EXPECT_EQ(titleOf(factsOf(*readAhead, "same.docx")), "old same.docx");
    EXPECT_EQ(titleOf(factsOf(*readAhead, "missing.docx")), "(no item)");
    EXPECT_EQ(titleOf(factsOf(*readAhead, "last.docx")), "old last.docx");
}

// The threads read on from one folder into the next, and the job may leave a folder early.
TEST_F(ReadAheadTest, readsOnAcrossFoldersAndPassesOverTheRestOfAFolderLeft) {
    std::vector<std::string> first, second;
    for (int i = 0; i < 100; ++i) {
        first.push_back("a" + std::to_string(i) + ".docx");
        writeTitled(first.back(), first.back());
    }
    std::filesystem::create_directory(m_dir.file("sub"));
    const std::string sub = m_dir.file("sub") + "/";
    for (int i = 0; i < 100; ++i) {
        second.push_back("b" + std::to_string(i) + ".docx");
        DocxContent content;
        content.title = second.back();
        writeDocx(sub + second.back(), content);
    }
    auto readAhead = readAheadOf(first, ReadAheadOptions{4, 256});
    readAhead->expect(sub, second);
    ASSERT_TRUE(waitFor([&] { return readAhead->documentsRead() == 200; }));
    EXPECT_EQ(titleOf(factsOf(*readAhead, first[0])), first[0]);
    for (const std::string& name : second)
        ASSERT_EQ(titleOf(readAhead->facts(sub, name)), name);
    // A folder announced once the threads have run out is read when the job comes to it.
    readAhead->expect(m_dir.path(), first);
    EXPECT_EQ(titleOf(factsOf(*readAhead, first[99])), first[99]);
    EXPECT_EQ(readAhead->documentsRead(), 300u);
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
        auto readAhead = readAheadOf(names, ReadAheadOptions{16, 256});
        ASSERT_TRUE(waitFor([&] { return readAhead->documentsRead() == 256; }));
        for (int i = 0; i < 128; ++i)
            ASSERT_TRUE(factsOf(*readAhead, names[i]));
        ASSERT_TRUE(waitFor([&] { return readAhead->documentsRead() == 256 + 128; }));
        EXPECT_EQ(readAhead->documentsRead(), 256u + 128u);
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
        auto readAhead = readAheadOf(names, ReadAheadOptions{1, 256, 10 * slotBytes - 1});
        ASSERT_TRUE(waitFor([&] { return readAhead->documentsRead() >= 10; }));
        EXPECT_EQ(readAhead->documentsRead(), 10u);
        for (const std::string& name : names)
            ASSERT_TRUE(titleOf(factsOf(*readAhead, name)) == keptTitle) << name;
    }
    auto oneAtATime = readAheadOf(names, ReadAheadOptions{4, 256, 1});
    for (const std::string& name : names)
        ASSERT_TRUE(titleOf(factsOf(*oneAtATime, name)) == keptTitle) << name;
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
    auto readAhead = readAheadOf(names, ReadAheadOptions{1, 256, 10 * slotBytes - 1}, true);
    ASSERT_TRUE(waitFor([&] { return readAhead->documentsRead() >= 10; }));
    EXPECT_EQ(readAhead->documentsRead(), 10u);
    EXPECT_EQ(factsOf(*readAhead, names[0])->text, text);
}
