// The job over the document reader gives the same file, notices and report whether the
// reader reads ahead or not.
#include <gtest/gtest.h>

#include <filesystem>

#include "../JobFixture.h"
#include "DocxFixture.h"
#include "ReaderBackend.h"

namespace {

constexpr ReadAheadOptions kNoReadAhead{0, 0};
constexpr ReadAheadOptions kReadAhead{};

// Every column the reader answers except the file times: reading may change the access time,
// and the two folders compared are written moments apart, which may cross a minute.
constexpr const char* kColumns =
    "0,1,2,6,9,10,11,18,19,20,21,22,23,24,25,33,34,42,152,153,154,157,159,160";

// Stops the job once it reaches a given document.
class StoppingEvents : public RecordingEvents {
  public:
    StoppingEvents(std::shared_ptr<CommandWord> command, std::int32_t stopAt)
        : m_command(std::move(command)), m_stopAt(stopAt) {}
    void progress(std::int32_t n) override {
        RecordingEvents::progress(n);
        if (n == m_stopAt)
            m_command->setStop();
    }

  private:
    std::shared_ptr<CommandWord> m_command;
    std::int32_t m_stopAt;
};

struct JobRun {
    std::string csv;
    std::string report;
    std::vector<std::pair<RecordingEvents::Notice, std::int32_t>> notices;
    std::vector<std::string> names;  // the folder's files after the job
};

class ReadAheadJob : public ::testing::Test {
  protected:
    JobRun run(const std::string& folder, ReadAheadOptions options, bool rename,
               std::int32_t stopAt = 0) {
        JobSettings settings;
        settings.pathuser = folder;
        settings.fileout = m_out.file("out.csv");
        settings.propids = kColumns;
        settings.getprops = 1;
        settings.rename = rename ? 1 : 0;
        auto command = std::make_shared<CommandWord>();
        command->clear();
        auto events = std::make_shared<StoppingEvents>(command, stopAt);
        JobRequest request{settings, std::make_shared<CCore>(), makeReaderBackend(options),
                           command};
        std::unique_ptr<JobHandle> job = startJob(std::move(request), events);
        EXPECT_NE(job, nullptr);
        if (job)
            job->wait();
        JobRun result{readFile(settings.fileout), events->report().text(), events->notices(), {}};
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            result.names.push_back(entry.path().filename().string());
        std::sort(result.names.begin(), result.names.end());
        return result;
    }

    // count documents with their own titles, some of them no document at all.
    void writeDocuments(const TempDir& folder, int count) {
        for (int i = 0; i < count; ++i) {
            std::string name = "doc" + std::to_string(i) + (i % 3 ? ".docx" : ".doc");
            if (i % 7 == 0) {
                folder.write(name, "no document");
                continue;
            }
            DocxContent content = sampleDocxContent();
            content.title = "标题 " + std::to_string(i % 50);
            writeDocx(folder.file(name), content);
        }
        folder.makeFolder("sub.docx");
    }

    void expectSameRun(const JobRun& without, const JobRun& with) {
        EXPECT_EQ(with.csv, without.csv);
        EXPECT_EQ(with.report, without.report);
        EXPECT_EQ(with.notices, without.notices);
        EXPECT_EQ(with.names, without.names);
    }

    ConfigHome m_home;
    TempDir m_out;
};

}  // namespace

TEST_F(ReadAheadJob, writesTheSameLinesAndRenamesTheSameDocuments) {
    TempDir first, second;
    writeDocuments(first, 200);
    writeDocuments(second, 200);
    JobRun without = run(first.path(), kNoReadAhead, true);
    JobRun with = run(second.path(), kReadAhead, true);
    EXPECT_EQ(std::count(with.csv.begin(), with.csv.end(), '\n'), 201);
    expectSameRun(without, with);
}

TEST_F(ReadAheadJob, writesTheSameLinesForRealDocuments) {
    const std::filesystem::path corpus = TARNEL_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    for (const char* folder : {"poi", "python-docx"}) {
        std::string path = (corpus / folder).string();
        expectSameRun(run(path, kNoReadAhead, false), run(path, kReadAhead, false));
    }
}

TEST_F(ReadAheadJob, stopsAtTheDocumentItReachedAndLeavesNoThreadBehind) {
    TempDir folder;
    writeDocuments(folder, 1000);
    auto threads = [] {
        auto entries = std::filesystem::directory_iterator("/proc/self/task");
        return std::distance(begin(entries), end(entries));
    };
    auto before = threads();
    JobRun stopped = run(folder.path(), kReadAhead, false, 5);
    EXPECT_EQ(threads(), before);
    expectSameRun(run(folder.path(), kNoReadAhead, false, 5), stopped);
    EXPECT_EQ(stopped.notices.back().second, 5);
}
