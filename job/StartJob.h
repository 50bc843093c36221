#pragma once

#include <memory>

#include "CCore.h"
#include "JobSettings.h"
#include "ScanLink.h"
#include "ShellBackend.h"

// What a front-end hands to a new job. Everything but the settings copy is jointly owned.
struct JobRequest {
    std::shared_ptr<ScanNotifier> notifier;
    std::shared_ptr<CommandWord> command;
    std::shared_ptr<ScanReport> report;
    std::shared_ptr<CCore> core;
    std::shared_ptr<ShellBackend> shell;
    JobSettings settings;  // the job's own copy, made on the front-end's thread
};

// A started job, as its front-end holds it.
class JobHandle {
  public:
    virtual ~JobHandle() = default;
    // Blocks until the job's thread has ended (it ends after the document in progress
    // once the command word reads "STOP").
    virtual void wait() = 0;
};

// Starts the job on a worker thread of its own. Returns nullptr when the thread cannot be
// started; the caller then shows "Cannot Start New Thread".
std::unique_ptr<JobHandle> startJob(JobRequest request);
