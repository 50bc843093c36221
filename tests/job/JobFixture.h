#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CCore.h"
#include "StartJob.h"
#include "TempDir.h"
#include "TestShell.h"

// Keeps every notice a job posts, in order.
class RecordingNotifier : public ScanNotifier {
  public:
    void post(unsigned message, long lParam) override {
        std::lock_guard guard(m_lock);
        m_notices.emplace_back(message, lParam);
    }
    std::vector<std::pair<unsigned, long>> notices() const {
        std::lock_guard guard(m_lock);
        return m_notices;
    }

  private:
    mutable std::mutex m_lock;
    std::vector<std::pair<unsigned, long>> m_notices;
};

// A folder, the test shell and a job over them, run to its end.
class JobFixture : public ::testing::Test {
  protected:
    JobFixture() {
        settings.pathuser = folder.path();
        settings.fileout = out.file("out.csv");
    }

    // Runs the job with the settings and waits for its end.
    void runJob() {
        JobRequest request{notifier, command, report, std::make_shared<CCore>(), shell, settings};
        command->set("");
        std::unique_ptr<JobHandle> job = startJob(std::move(request));
        ASSERT_NE(job, nullptr);
        job->wait();
    }

    // The count of the one WM_SCAN_DONE, which is the last notice.
    long doneCount() const {
        auto notices = notifier->notices();
        EXPECT_FALSE(notices.empty());
        if (notices.empty())
            return -1;
        EXPECT_EQ(notices.back().first, WM_SCAN_DONE);
        return notices.back().second;
    }

    std::string output() const { return readFile(settings.fileout); }

    TempDir folder;
    TempDir out;
    JobSettings settings;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
    std::shared_ptr<RecordingNotifier> notifier = std::make_shared<RecordingNotifier>();
    std::shared_ptr<CommandWord> command = std::make_shared<CommandWord>();
    std::shared_ptr<ScanReport> report = std::make_shared<ScanReport>();
};
