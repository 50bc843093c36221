#pragma once

#include <optional>
#include <string>

class QWidget;

// The platform's folder chooser owned by the window, titled and opened at the initial
// folder: the chosen folder, or nothing on cancel.
std::optional<std::string> chooseFolder(QWidget* owner, const std::string& title,
                                        const std::string& initial);
