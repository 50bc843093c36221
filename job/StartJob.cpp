#include "StartJob.h"

#include <new>
#include <system_error>
#include <thread>

#include "ScanThread.h"

namespace {

class ThreadJobHandle : public JobHandle {
  public:
    explicit ThreadJobHandle(std::thread thread) : m_thread(std::move(thread)) {}
    // The job's thread never outlives its handle.
    ~ThreadJobHandle() override { wait(); }
    void wait() override {
        if (m_thread.joinable())
            m_thread.join();
    }

  private:
    std::thread m_thread;
};

// Runs the job on the worker named in the parameters, then frees both.
void scanThreadFunction(std::unique_ptr<ScanParams> params) {
    params->worker->run();
}

}  // namespace

std::optional<SettingsFailure> checkJobRequest(const JobRequest& request) {
    if (auto failure = validateJobSettings(request.settings, *request.core))
        return failure;
    return checkActionRule(request.settings);
}

std::unique_ptr<JobHandle> startJob(JobRequest request, std::shared_ptr<JobEvents> events) {
    try {
        auto params = std::make_unique<ScanParams>();
        params->request = std::move(request);
        params->events = std::move(events);
        params->worker = std::make_unique<CScanThread>(params->request, params->events);
        // When the thread cannot start, the parameters and the worker are freed here.
        std::thread thread(scanThreadFunction, std::move(params));
        return std::make_unique<ThreadJobHandle>(std::move(thread));
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::system_error&) {
        return nullptr;
    }
}
