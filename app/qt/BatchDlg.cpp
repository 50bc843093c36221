#include "BatchDlg.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>

#include "DialogTemplate.h"
#include "OptionsDlg.h"
#include "PreviewDlg.h"
#include "qt/FolderChooser.h"
#include "qt/QuestionBox.h"
#include "resource.h"

QFont CBatchDlg::dialogFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(12);
    return font;
}

CBatchDlg::CBatchDlg(JobStarter& starter, std::shared_ptr<ShellBackend> shell, QWidget* parent)
    : QDialog(parent),
      m_notifier(std::make_shared<QtScanNotifier>(this)),
      m_logic(*this, starter, std::move(shell)) {
    setWindowTitle(QString::fromUtf8(kDialogCaption));
    setWindowIcon(QIcon(QStringLiteral(":/Tarnel.ico")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(dialogFont());
    m_widgets.build(*this, dialogTemplate(), kDialogWidthUnits, kDialogHeightUnits,
                    [this](int id) { m_logic.command(id); });
    m_commands = {
        addCommand(kOptionsText, "options", &CBatchDlgLogic::editOptions),
        addCommand(kPreviewRenamesText, "previewRenames", &CBatchDlgLogic::previewRenames),
        addCommand(kUndoRenamesText, "undoRenames", &CBatchDlgLogic::undoLastRenames)};
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_logic.initDialog();
    m_widgets.control(IDC_RUN)->setFocus();
}

QAction* CBatchDlg::addCommand(const char* text, const char* name,
                               void (CBatchDlgLogic::*command)()) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, command] { (m_logic.*command)(); });
    addAction(action);
    return action;
}

CBatchDlg::~CBatchDlg() {
    m_logic.destroy();
    m_notifier->detach();
}

void CBatchDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void CBatchDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc neither press a button nor close the dialog, and no Alt key or F10
    // reaches it; Space and Tab keep their work in the focused control.
    bool swallowed = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                     event->key() == Qt::Key_Escape || event->key() == Qt::Key_F10 ||
                     (event->modifiers() & Qt::AltModifier);
    if (swallowed) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CBatchDlg::customEvent(QEvent* event) {
    if (event->type() != ScanEvent::kind())
        return QDialog::customEvent(event);
    auto* notice = static_cast<ScanEvent*>(event);
    if (notice->report()) {
        m_logic.scanDone(*notice->report());
    } else {
        m_logic.scanProgress(notice->document());
    }
}

void CBatchDlg::done(int result) {
    m_logic.destroy();
    QDialog::done(result);
}

void CBatchDlg::warn(const std::string& text) {
    m_logic.core().msgboxWarning(this, text);
}

bool CBatchDlg::confirm(const std::string& text) {
    return askYesNo(this, text);
}

void CBatchDlg::enableWindowCommands(bool enabled) {
    for (QAction* action : m_commands)
        action->setEnabled(enabled);
}

bool CBatchDlg::editOptions() {
    COptionsDlg options(m_logic.core(), this);
    return options.exec() == QDialog::Accepted;
}

PreviewChoice CBatchDlg::showPreview(const std::vector<JobReport::PreviewRow>& rows) {
    CPreviewDlg preview(rows, this);
    preview.exec();
    return preview.choice();
}

std::optional<std::string> CBatchDlg::chooseFolder(const std::optional<std::string>& initial) {
    return ::chooseFolder(this, "请指定目录：", initial.value_or(std::string()));
}

std::string CBatchDlg::chooseSaveFile(const std::string& offeredName) {
    return m_logic.core().fileTxtSave(offeredName);
}

void CBatchDlg::openFile(const std::string& path) {
    m_logic.core().openUrl(path);
}

void CBatchDlg::showAbout() {
    QMessageBox::about(this, QStringLiteral("关于 Tarnel"),
                       QStringLiteral("Tarnel\n版本 %1").arg(QStringLiteral(TARNEL_VERSION)));
}
