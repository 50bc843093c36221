#pragma once

#include <windows.h>

#include <memory>

#include "BatchDlgLogic.h"
#include "BatchView.h"
#include "DialogItems.h"
#include "ModalDialog.h"
#include "WindowNotifier.h"
#include "resource.h"

// The main dialog over plain Win32: template IDD_MAIN, the key filter, the minimised
// icon, and the notices handled in the dialog procedure itself, so that they arrive while
// a message box or a chooser runs a loop of its own.
class CBatchDlg : public CModalDialog, private DialogItems<BatchView> {
  public:
    // The system menu's entries.
    static constexpr UINT kUndoRenamesCommand = IDM_UNDO_RENAMES;
    static constexpr UINT kOptionsCommand = IDM_OPTIONS;
    static constexpr UINT kPreviewRenamesCommand = IDM_PREVIEW_RENAMES;

    CBatchDlg(JobStarter& starter, std::shared_ptr<ShellBackend> shell);

  protected:
    BOOL onInitDialog() override;
    bool preTranslateMessage(MSG& msg) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  private:
    void paintMinimised();

    HWND itemsWindow() const override { return hwnd(); }
    void warn(const std::string& text) override;
    bool confirm(const std::string& text) override;
    void enableWindowCommands(bool enabled) override;
    bool editOptions() override;
    PreviewChoice showPreview(const std::vector<JobReport::PreviewRow>& rows) override;
    std::optional<std::string> chooseFolder(const std::optional<std::string>& initial) override;
    std::string chooseSaveFile(const std::string& offeredName) override;
    void openFile(const std::string& path) override;
    void showAbout() override;
    std::shared_ptr<JobEvents> jobEvents() override { return m_notifier; }

    HICON m_hIcon;
    HICON m_hSmallIcon;
    // Made once the window exists; the jobs' notices come back through it.
    std::shared_ptr<WindowNotifier> m_notifier;
    CBatchDlgLogic m_logic;
};
