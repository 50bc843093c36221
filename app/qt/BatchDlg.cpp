#include "BatchDlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "DialogTemplate.h"
#include "qt/FolderChooser.h"
#include "resource.h"

namespace {

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// Dialog units to pixels the way Windows converts them: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font) {
        QFontMetrics metrics(font);
        int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        m_baseX = (letters / 26 + 1) / 2;
        m_baseY = metrics.height();
    }
    int x(int units) const { return (units * m_baseX + 2) / 4; }
    int y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect rect(const TemplateControl& c) const {
        return QRect(x(c.x), y(c.y), x(c.width), y(c.height));
    }

  private:
    int m_baseX;
    int m_baseY;
};

QWidget* makeControl(const TemplateControl& c, QWidget* parent) {
    QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case TemplateControl::Button: {
            auto* button = new QPushButton(text, parent);
            // No default button: Enter presses nothing.
            button->setAutoDefault(false);
            return button;
        }
        case TemplateControl::CheckBox:
            return new QCheckBox(text, parent);
        case TemplateControl::Edit:
            return new QLineEdit(parent);
        case TemplateControl::Label:
            break;
    }
    return new QLabel(text, parent);
}

}  // namespace

QFont CBatchDlg::dialogFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(12);
    return font;
}

CBatchDlg::CBatchDlg(JobStarter& starter, std::shared_ptr<ShellBackend> shell, QWidget* parent)
    : QDialog(parent),
      m_undoRenames(new QAction(QString::fromUtf8(kUndoRenamesText), this)),
      m_notifier(std::make_shared<QtScanNotifier>(this)),
      m_logic(*this, starter, std::move(shell)) {
    setWindowTitle(QString::fromUtf8(kDialogCaption));
    setWindowIcon(QIcon(QStringLiteral(":/Tarnel.ico")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(dialogFont());
    buildControls();
    m_undoRenames->setObjectName(QStringLiteral("undoRenames"));
    connect(m_undoRenames, &QAction::triggered, this, [this] { m_logic.undoLastRenames(); });
    addAction(m_undoRenames);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_logic.initDialog();
    control(IDC_RUN)->setFocus();
}

CBatchDlg::~CBatchDlg() {
    m_logic.destroy();
    m_notifier->detach();
}

void CBatchDlg::buildControls() {
    DialogUnits units(font());
    setFixedSize(units.x(kDialogWidthUnits), units.y(kDialogHeightUnits));
    QWidget* previous = nullptr;
    for (const TemplateControl& c : dialogTemplate()) {
        QWidget* widget = makeControl(c, this);
        widget->setGeometry(units.rect(c));
        if (c.id == 0)
            continue;
        widget->setObjectName(QString::fromLatin1(c.name));
        m_controls[c.id] = widget;
        if (c.kind == TemplateControl::Label)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = c.id] { m_logic.command(id); });
        }
    }
}

QWidget* CBatchDlg::control(int id) const {
    return m_controls.at(id);
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

std::string CBatchDlg::text(int id) {
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    return static_cast<QLabel*>(widget)->text().toStdString();
}

void CBatchDlg::setText(int id, const std::string& text) {
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->setText(qtext(text));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->setText(qtext(text));
    static_cast<QLabel*>(widget)->setText(qtext(text));
}

int CBatchDlg::checkState(int id) {
    return static_cast<QCheckBox*>(control(id))->isChecked() ? 1 : 0;
}

void CBatchDlg::setCheckState(int id, int state) {
    static_cast<QCheckBox*>(control(id))->setChecked(state != 0);
}

void CBatchDlg::enable(int id, bool enabled) {
    control(id)->setEnabled(enabled);
}

void CBatchDlg::focus(int id) {
    control(id)->setFocus(Qt::OtherFocusReason);
}

void CBatchDlg::warn(const std::string& text) {
    m_logic.core().msgboxWarning(this, text);
}

bool CBatchDlg::confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarnel"), qtext(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    // The question names a folder, which must not turn it into markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void CBatchDlg::enableUndoRenames(bool enabled) {
    m_undoRenames->setEnabled(enabled);
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
