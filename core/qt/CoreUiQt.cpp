// The boxes and choosers of CCore on Linux, through Qt.
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "../CCore.h"
#include "WarningHook.h"

namespace {

WarningHook& warningHook() {
    static WarningHook hook;
    return hook;
}

}  // namespace

void setWarningHook(WarningHook hook) {
    warningHook() = std::move(hook);
}

std::string CCore::fileTxtSave(std::string offeredName) {
    QString path =
        QFileDialog::getSaveFileName(nullptr, QString(), QString::fromStdString(offeredName),
                                     QStringLiteral("CSV (*.csv);;* (*)"));
    return path.toStdString();
}

void CCore::openUrl(std::string path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void CCore::msgboxWarning(OwnerWindow owner, std::string text) {
    if (warningHook())
        return warningHook()(owner, text);
    QMessageBox::warning(static_cast<QWidget*>(owner), QStringLiteral("Tarnel"),
                         QString::fromStdString(text));
}
