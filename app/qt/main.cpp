// Tarnel on Linux: the main dialog, run modally; the process ends when it closes.
#include <QApplication>

#include "BatchDlg.h"
#include "QtTranslations.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    loadQtTranslations(app);
    ThreadJobStarter starter;
    CBatchDlg dialog(starter, makeNativeShellBackend());
    dialog.exec();
    return 0;
}
