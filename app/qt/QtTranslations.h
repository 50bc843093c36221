#pragma once

class QCoreApplication;

// Qt's own texts (the standard buttons, the edits' context menus, the choosers) in Simplified
// Chinese, from the translations installed with Qt. Without them Qt stays in English, and
// nothing is said: the program works the same.
void loadQtTranslations(QCoreApplication& app);
