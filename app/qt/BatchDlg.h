#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "BatchDlgLogic.h"
#include "BatchView.h"
#include "QtScanNotifier.h"
#include "TemplateWidgets.h"

class QAction;
class QFont;

// The main dialog in Qt Widgets: the Windows template's controls, ids (as object names),
// texts, tab order and geometry, driving the toolkit-free CBatchDlgLogic.
class CBatchDlg : public QDialog, private TemplateView<BatchView> {
  public:
    CBatchDlg(JobStarter& starter, std::shared_ptr<ShellBackend> shell, QWidget* parent = nullptr);
    ~CBatchDlg() override;

    // The dialog's font: 9 pt "宋体" where it exists, else a CJK font that renders the same
    // texts, at the pixel size 9 pt has on a 96 dpi Windows screen.
    static QFont dialogFont();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void customEvent(QEvent* event) override;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

  private:
    QAction* addCommand(const char* text, const char* name, void (CBatchDlgLogic::*command)());

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

    std::shared_ptr<QtScanNotifier> m_notifier;
    CBatchDlgLogic m_logic;
    bool m_centred = false;
    // In the dialog's context menu (a right click on its background): the window manager
    // owns the window's own menu.
    std::vector<QAction*> m_commands;
};
