#pragma once

#include <memory>
#include <optional>
#include <string>

#include "StartJob.h"

// What the dialog's behaviour asks of a front-end's window. Controls are named by their
// IDC_ ids; texts are narrow (the ANSI code page on Windows, UTF-8 on Linux). Every call
// comes on the dialog's thread.
class BatchView {
  public:
    BatchView() = default;
    BatchView(const BatchView&) = delete;
    BatchView& operator=(const BatchView&) = delete;
    virtual ~BatchView() = default;

    virtual std::string text(int id) = 0;
    virtual void setText(int id, const std::string& text) = 0;
    // 0 (clear) or 1 (set).
    virtual int checkState(int id) = 0;
    virtual void setCheckState(int id, int state) = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual void focus(int id) = 0;

    // A modal warning box owned by the dialog; returns when dismissed.
    virtual void warn(const std::string& text) = 0;
    // A modal question owned by the dialog, answered yes or no; true for yes.
    virtual bool confirm(const std::string& text) = 0;
    // Greys or enables the window menu's command that undoes the last renames.
    virtual void enableUndoRenames(bool enabled) = 0;
    // The platform's folder chooser with the given initial selection: the chosen folder,
    // or nothing on cancel.
    virtual std::optional<std::string> chooseFolder(const std::optional<std::string>& initial) = 0;
    // The save chooser offering the given name: the chosen path, or empty text on cancel.
    virtual std::string chooseSaveFile(const std::string& offeredName) = 0;
    // Opens the file in its associated program.
    virtual void openFile(const std::string& path) = 0;
    virtual void showAbout() = 0;

    // Where a job started from this window posts its notices, to be handed back on the
    // dialog's thread as scanProgress and scanDone.
    virtual std::shared_ptr<JobEvents> jobEvents() = 0;
};

// Starts jobs: the real worker in the programs, a fake one in tests.
class JobStarter {
  public:
    virtual ~JobStarter() = default;
    // nullptr when the job's thread cannot be started.
    virtual std::unique_ptr<JobHandle> start(JobRequest request,
                                             std::shared_ptr<JobEvents> events) = 0;
};

// The worker thread of the job library.
class ThreadJobStarter : public JobStarter {
  public:
    std::unique_ptr<JobHandle> start(JobRequest request,
                                     std::shared_ptr<JobEvents> events) override {
        return startJob(std::move(request), std::move(events));
    }
};
