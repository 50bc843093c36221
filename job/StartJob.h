#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "CCore.h"
#include "JobReport.h"
#include "JobSettings.h"
#include "ShellBackend.h"

// How every front-end runs a job: it builds a JobRequest, asks checkJobRequest, clears its
// command word and calls startJob with its own JobEvents; it writes "STOP" to stop.

// The command word: "STOP" while no job runs and once a stop has been asked for, empty
// while a job runs. The front-end writes it; the job reads it before each document.
class CommandWord {
  public:
    void setStop() { m_stop = true; }
    void clear() { m_stop = false; }
    bool isStop() const { return m_stop; }

  private:
    std::atomic<bool> m_stop{true};
};

// What a job needs: its own copy of the settings, made on the front-end's thread, and
// the services it calls. All but the copy are jointly owned, so nothing the front-end
// frees can be reached from the job's thread.
struct JobRequest {
    JobSettings settings;
    std::shared_ptr<CCore> core;
    std::shared_ptr<ShellBackend> shell;
    std::shared_ptr<const CommandWord> command;
    // A preview: nothing on disk changes (no output file, no rename, no journal); the
    // report's preview lines tell what the renames would do.
    bool preview = false;
};

// Where a job's notices go: a posted window message, a posted Qt event, the runner's
// queue. Both are called on the job's thread; only post: never block, never touch a
// widget.
class JobEvents {
  public:
    virtual ~JobEvents() = default;
    // Document n, counting from 1, is being processed.
    virtual void progress(std::int32_t n) = 0;
    // The job's last call: what it has to tell, with the number of documents it reached.
    virtual void done(const JobReport& report) = 0;
};

// A started job, as its front-end holds it.
class JobHandle {
  public:
    virtual ~JobHandle() = default;
    // Blocks until the job's thread has ended (it ends after the document in progress
    // once the command word reads "STOP").
    virtual void wait() = 0;
};

// Validate, then the action rule: the first failure (its message, and the field to
// focus after a failed Validate), or nothing when the job may start.
std::optional<SettingsFailure> checkJobRequest(const JobRequest& request);

// Starts the job on a worker thread of its own. Returns nullptr when the thread cannot be
// started; the front-end then tells kCannotStartNewThread.
std::unique_ptr<JobHandle> startJob(JobRequest request, std::shared_ptr<JobEvents> events);
