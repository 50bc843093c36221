#include "BatchRun.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "CCore.h"
#include "StartJob.h"

namespace {

// Keeps the latest count for the runner's thread; posts never block the job.
class ConsoleProgress : public ScanNotifier {
  public:
    void post(unsigned message, long lParam) override {
        if (message == WM_SCAN_PROGRESS) {
            m_nProgress.store(lParam, std::memory_order_relaxed);
            return;
        }
        std::lock_guard guard(m_lock);
        m_nDone = lParam;
        m_bDone = true;
        m_doneChanged.notify_all();
    }

    // True once WM_SCAN_DONE has come, waiting at most the given time for it.
    bool waitDone(std::chrono::milliseconds timeout) {
        std::unique_lock guard(m_lock);
        return m_doneChanged.wait_for(guard, timeout, [this] { return m_bDone; });
    }
    long progress() const { return m_nProgress.load(std::memory_order_relaxed); }
    long done() const {
        std::lock_guard guard(m_lock);
        return m_nDone;
    }

  private:
    std::atomic<long> m_nProgress{0};
    mutable std::mutex m_lock;
    std::condition_variable m_doneChanged;
    bool m_bDone = false;
    long m_nDone = 0;
};

std::string progressText(CCore& core, long count) {
    return "正处理第 " + core.getStrInt(static_cast<std::int32_t>(count)) + " 个文件...";
}

}  // namespace

int runBatchJob(const JobSettings& settings, std::shared_ptr<CCore> core,
                std::shared_ptr<ShellBackend> shell, std::ostream& out, std::ostream& err,
                bool errIsTerminal) {
    if (std::optional<SettingsFailure> failure = checkJobRequest(settings, *core)) {
        err << failure->message << "\n";
        return 1;
    }
    auto progress = std::make_shared<ConsoleProgress>();
    auto command = std::make_shared<CommandWord>();
    auto report = std::make_shared<ScanReport>();
    command->set("");
    std::unique_ptr<JobHandle> job =
        startJob(JobRequest{progress, command, report, core, std::move(shell), settings});
    if (!job) {
        err << "Cannot Start New Thread\n";
        return 1;
    }
    long shown = 0;
    while (!progress->waitDone(std::chrono::milliseconds(100))) {
        if (errIsTerminal && progress->progress() != shown) {
            shown = progress->progress();
            err << "\r" << progressText(*core, shown) << std::flush;
        }
    }
    job->wait();
    if (errIsTerminal && shown != 0)
        err << "\n";
    if (!report->text().empty())
        err << report->text() << "\n";
    out << "执行完成！共 " << core->getStrInt(static_cast<std::int32_t>(progress->done()))
        << " 个文件。\n";
    return report->failed() ? 1 : 0;
}
