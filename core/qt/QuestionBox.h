#pragma once

#include <string>

class QWidget;

// A modal yes/no question owned by the window, its text shown as plain text: true for yes.
bool askYesNo(QWidget* owner, const std::string& text);
