// The boxes and choosers of CCore on Linux, through Qt, and the hooks tests answer them by.
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <utility>

#include "../CCore.h"
#include "FolderChooser.h"
#include "QuestionBox.h"
#include "UiHooks.h"

namespace {

struct Hooks {
    WarningHook warning;
    QuestionHook question;
    std::optional<std::string> nextFileName;
    OpenUrlHook openUrl;
};

Hooks& hooks() {
    static Hooks hooks;
    return hooks;
}

std::optional<std::string> takeNextFileName() {
    return std::exchange(hooks().nextFileName, std::nullopt);
}

}  // namespace

void setWarningHook(WarningHook hook) {
    hooks().warning = std::move(hook);
}

void setQuestionHook(QuestionHook hook) {
    hooks().question = std::move(hook);
}

void setNextFileName(std::optional<std::string> path) {
    hooks().nextFileName = std::move(path);
}

void setOpenUrlHook(OpenUrlHook hook) {
    hooks().openUrl = std::move(hook);
}

bool askYesNo(QWidget* owner, const std::string& text) {
    if (hooks().question)
        return hooks().question(owner, text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarnel"), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    // The question names a folder, which must not turn it into markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> chooseFolder(QWidget* owner, const std::string& title,
                                        const std::string& initial) {
    std::string chosen;
    if (auto answer = takeNextFileName()) {
        chosen = *answer;
    } else {
        chosen = QFileDialog::getExistingDirectory(owner, QString::fromStdString(title),
                                                   QString::fromStdString(initial))
                     .toStdString();
    }
    if (chosen.empty())
        return std::nullopt;
    return chosen;
}

std::string CCore::fileTxtSave(std::string offeredName) {
    if (auto answer = takeNextFileName())
        return *answer;
    // CSV first, as the offered name; a name typed without an extension under the workbook
    // filter is a workbook.
    const QString workbook = QStringLiteral("Excel 工作簿 (*.xlsx)");
    QString chosenFilter;
    QString path = QFileDialog::getSaveFileName(
        nullptr, QString(), QString::fromStdString(offeredName),
        QStringLiteral("CSV (*.csv);;") + workbook + QStringLiteral(";;* (*)"), &chosenFilter);
    if (!path.isEmpty() && chosenFilter == workbook && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xlsx");
    return path.toStdString();
}

void CCore::openUrl(std::string path) {
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (hooks().openUrl)
        return hooks().openUrl(url);
    QDesktopServices::openUrl(url);
}

void CCore::msgboxWarning(OwnerWindow owner, std::string text) {
    if (hooks().warning)
        return hooks().warning(owner, text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarnel"), QString::fromStdString(text),
                    QMessageBox::Ok, static_cast<QWidget*>(owner));
    // A name such as "<br>.docx" must not turn a report into markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
