#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BatchView.h"
#include "CCore.h"
#include "ShellBackend.h"
#include "StartJob.h"

// The window menu's commands: the options, the rename preview, and the undo of the renames
// of the last job that renamed.
inline constexpr char kOptionsText[] = "选项…";
inline constexpr char kPreviewRenamesText[] = "预览重命名…";
inline constexpr char kUndoRenamesText[] = "撤销上次重命名…";

// The main dialog's behaviour, apart from any toolkit: start-up and close, the transfers
// between JobSettings and the controls, the dependency rule, the commands, and the
// Idle / Running / Stopping states of the start button with their texts. A front-end owns
// one, hands it its view and calls it from the dialog's thread for each event.
class CBatchDlgLogic {
  public:
    CBatchDlgLogic(BatchView& view, JobStarter& starter, std::shared_ptr<ShellBackend> shell);
    // Closes as destroy() does if the front-end has not.
    ~CBatchDlgLogic();
    CBatchDlgLogic(const CBatchDlgLogic&) = delete;
    CBatchDlgLogic& operator=(const CBatchDlgLogic&) = delete;

    // Creates the core services, prepares the store, sets the process paths, loads and
    // shows the settings.
    void initDialog();
    // A click on the button or check box of that id.
    void command(int id);
    // The job's notices, handed over by the front-end on the dialog's thread.
    void scanProgress(std::int32_t document);
    void scanDone(const JobReport& report);
    // The undo command: asks how many renames of which folder and when, undoes them and
    // shows the report. Refused while a job runs, as the menu shows it.
    void undoLastRenames();
    // The options dialog. Refused while a job runs, as the menu shows it.
    void editOptions();
    // Previews the renames of the dialog's folder with the saved options on the worker, the
    // start button stopping it as any job; at its end, the table of what would be renamed.
    // Refused while a job runs, as the menu shows it.
    void previewRenames();
    // The window is going away, its controls still there: stops and waits for a running
    // job, then copies the controls and saves them. Later calls do nothing.
    void destroy();

    bool running() const { return m_bRunning != 0; }
    // Valid between initDialog() and destroy().
    CCore& core() { return *m_core; }

  private:
    void show();
    void copy();
    void applyDependencyRule();
    void start();
    void startJob(JobRequest request);
    void offerPreview(const std::vector<JobReport::PreviewRow>& rows);
    void stop();
    void chooseFolder();
    void browseOut();
    void openOut();
    void returnToIdle(const std::string& runText);
    void setRunning(bool running);

    BatchView& m_view;
    JobStarter& m_starter;
    std::shared_ptr<ShellBackend> m_shell;
    std::int32_t m_bRunning = 0;
    std::shared_ptr<CommandWord> m_szCmd = std::make_shared<CommandWord>();
    std::shared_ptr<CCore> m_core;
    std::unique_ptr<JobHandle> m_job;
    // The settings of the preview running or shown; the rename it offers runs with them.
    std::optional<JobSettings> m_previewed;
};
