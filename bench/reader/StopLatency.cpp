// The job over a folder with the reader's read-ahead: held at its first document for a
// while, so that the threads read ahead what they may, then stopped; prints the time from
// the stop to the job's end, in milliseconds. Without a hold it runs the whole job.
//   tarnel_stop_latency FOLDER OUT_CSV [HOLD_MS]
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "CCore.h"
#include "ReaderBackend.h"
#include "StartJob.h"

namespace {

using Clock = std::chrono::steady_clock;

class StoppingEvents : public JobEvents {
  public:
    StoppingEvents(std::shared_ptr<CommandWord> command, int holdMs)
        : m_command(std::move(command)), m_holdMs(holdMs) {}

    void progress(std::int32_t n) override {
        if (n != 1 || m_holdMs <= 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(m_holdMs));
        m_stopped = Clock::now();
        m_command->setStop();
    }
    void done(const JobReport& report) override {
        m_done = Clock::now();
        m_documents = report.documents();
    }

    double stopMilliseconds() const {
        return std::chrono::duration<double, std::milli>(m_done - m_stopped).count();
    }
    std::int32_t documents() const { return m_documents; }

  private:
    std::shared_ptr<CommandWord> m_command;
    int m_holdMs;
    Clock::time_point m_stopped, m_done;
    std::int32_t m_documents = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FOLDER OUT_CSV [HOLD_MS]\n", argv[0]);
        return 2;
    }
    int holdMs = argc > 3 ? std::atoi(argv[3]) : 0;
    JobSettings settings;
    settings.pathuser = argv[1];
    settings.fileout = argv[2];
    settings.propids = "0,21";
    settings.getprops = 1;
    auto command = std::make_shared<CommandWord>();
    command->clear();
    auto events = std::make_shared<StoppingEvents>(command, holdMs);
    JobRequest request{settings, std::make_shared<CCore>(), makeReaderBackend(ReadAheadOptions{}),
                       command};
    std::unique_ptr<JobHandle> job = startJob(std::move(request), events);
    if (!job) {
        std::fprintf(stderr, "the job did not start\n");
        return 1;
    }
    job->wait();
    if (holdMs > 0)
        std::printf("stopped after %d documents in %.1f ms\n", events->documents(),
                    events->stopMilliseconds());
    else
        std::printf("read %d documents\n", events->documents());
    return 0;
}
