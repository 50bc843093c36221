#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DialogControls.h"
#include "StartJob.h"

// What the rename preview window's user chose when it closed.
enum class PreviewChoice { Close, Rename, Options };

// What the main dialog's behaviour asks of a front-end's window besides its controls.
class BatchView : public DialogControls {
  public:
    // A modal question owned by the dialog, answered yes or no; true for yes.
    virtual bool confirm(const std::string& text) = 0;
    // Greys or enables the window menu's commands: options, rename preview and undo.
    virtual void enableWindowCommands(bool enabled) = 0;
    // The options dialog, modal; true when the user saved the options with 确定.
    virtual bool editOptions() = 0;
    // The rename preview window with these rows, modal; how the user closed it.
    virtual PreviewChoice showPreview(const std::vector<JobReport::PreviewRow>& rows) = 0;
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
