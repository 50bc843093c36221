#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CCore.h"
#include "ConfigHome.h"
#include "StartJob.h"
#include "TempDir.h"
#include "TestShell.h"

// Keeps every notice a job posts, in order, and the report of its end.
class RecordingEvents : public JobEvents {
  public:
    enum class Notice { Progress, Done };

    void progress(std::int32_t n) override {
        std::lock_guard guard(m_lock);
        m_notices.emplace_back(Notice::Progress, n);
    }
    void done(const JobReport& report) override {
        std::lock_guard guard(m_lock);
        m_notices.emplace_back(Notice::Done, report.documents());
        m_report = report;
    }
    std::vector<std::pair<Notice, std::int32_t>> notices() const {
        std::lock_guard guard(m_lock);
        return m_notices;
    }
    JobReport report() const {
        std::lock_guard guard(m_lock);
        return m_report;
    }

  private:
    mutable std::mutex m_lock;
    std::vector<std::pair<Notice, std::int32_t>> m_notices;
    JobReport m_report;
};

// A folder, the test shell and a job over them, run to its end.
class JobFixture : public ::testing::Test {
  protected:
    JobFixture() {
        settings.pathuser = folder.path();
        settings.fileout = out.file("out.csv");
    }

    // Runs the job with the settings, over the test shell or another, and waits for its end.
    void runJob(std::shared_ptr<ShellBackend> backend = nullptr) {
        JobRequest request{settings, std::make_shared<CCore>(), backend ? backend : shell, command};
        command->clear();
        std::unique_ptr<JobHandle> job = startJob(std::move(request), events);
        ASSERT_NE(job, nullptr);
        job->wait();
    }

    // The count of the one done notice, which is the last.
    long doneCount() const {
        auto notices = events->notices();
        EXPECT_FALSE(notices.empty());
        if (notices.empty())
            return -1;
        EXPECT_EQ(notices.back().first, RecordingEvents::Notice::Done);
        return notices.back().second;
    }
    JobReport report() const { return events->report(); }

    std::string output() const { return readFile(settings.fileout); }

    // Rename journals go to a store of the test's own.
    ConfigHome home;
    TempDir folder;
    TempDir out;
    JobSettings settings;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
    std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();
    std::shared_ptr<CommandWord> command = std::make_shared<CommandWord>();
};
