#include "BatchRun.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "CCore.h"
#include "RenameUndo.h"
#include "StartJob.h"

namespace {

// Keeps the latest count and, at the end, the report for the runner's thread; the job's
// calls never block on the runner.
class ConsoleProgress : public JobEvents {
  public:
    void progress(std::int32_t n) override { m_nProgress.store(n, std::memory_order_relaxed); }
    void done(const JobReport& report) override {
        std::lock_guard guard(m_lock);
        m_report = report;
        m_bDone = true;
        m_doneChanged.notify_all();
    }

    // True once done() has come, waiting at most the given time for it.
    bool waitDone(std::chrono::milliseconds timeout) {
        std::unique_lock guard(m_lock);
        return m_doneChanged.wait_for(guard, timeout, [this] { return m_bDone; });
    }
    std::int32_t latest() const { return m_nProgress.load(std::memory_order_relaxed); }
    JobReport report() const {
        std::lock_guard guard(m_lock);
        return m_report;
    }

  private:
    std::atomic<std::int32_t> m_nProgress{0};
    mutable std::mutex m_lock;
    std::condition_variable m_doneChanged;
    bool m_bDone = false;
    JobReport m_report;
};

}  // namespace

int runBatchJob(const JobSettings& settings, std::shared_ptr<CCore> core,
                std::shared_ptr<ShellBackend> shell, std::ostream& out, std::ostream& err,
                bool errIsTerminal, bool preview) {
    auto command = std::make_shared<CommandWord>();
    JobRequest request{settings, core, std::move(shell), command, preview};
    if (std::optional<SettingsFailure> failure = checkJobRequest(request)) {
        err << failure->message << "\n";
        return 1;
    }
    auto progress = std::make_shared<ConsoleProgress>();
    command->clear();
    std::unique_ptr<JobHandle> job = startJob(std::move(request), progress);
    if (!job) {
        err << kCannotStartNewThread << "\n";
        return 1;
    }
    std::int32_t shown = 0;
    while (!progress->waitDone(std::chrono::milliseconds(100))) {
        if (errIsTerminal && progress->latest() != shown) {
            shown = progress->latest();
            err << "\r" << progressText(*core, shown) << std::flush;
        }
    }
    job->wait();
    if (errIsTerminal && shown != 0)
        err << "\n";
    JobReport report = progress->report();
    for (const std::string& line : report.previewLines()) {
        out << line << "\n";
    }
    if (!report.text().empty())
        err << report.text() << "\n";
    out << doneText(*core, report.documents());
    if (preview)
        out << "（预览，未改动任何文件）";
    out << "\n";
    return report.failed() ? 1 : 0;
}

int runBatchUndo(const std::string& journalPath, std::ostream& out, std::ostream& err) {
    JournalRead found =
        journalPath.empty() ? rename_journal::latest() : rename_journal::read(journalPath);
    if (!found.journal) {
        err << found.refusal << "\n";
        return 1;
    }
    UndoReport report = undoJournal(*found.journal);
    out << undoReportText(*found.journal, report) << "\n";
    return report.succeeded() ? 0 : 1;
}
