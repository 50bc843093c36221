#pragma once

#include <QUrl>
#include <functional>
#include <optional>
#include <string>

#include "../CCore.h"

// Tests stand in for the user at the boxes and choosers of the Qt front-end: what is set
// here answers instead of a window on screen. Dialog thread only.

// While set, a warning box is not shown and the hook gets its owner and text.
using WarningHook = std::function<void(OwnerWindow owner, const std::string& text)>;
void setWarningHook(WarningHook hook);

// While set, a yes/no question is not shown and the hook's answer is taken; it gets the
// question's owner and text.
using QuestionHook = std::function<bool(OwnerWindow owner, const std::string& text)>;
void setQuestionHook(QuestionHook hook);

// The next chooser, of a folder or of a file to save, is not shown and answers this path;
// empty text answers as a cancel does. Taken by that chooser; nullopt withdraws it.
void setNextFileName(std::optional<std::string> path);

// While set, nothing is opened and the hook gets the URL that would have been.
using OpenUrlHook = std::function<void(const QUrl& url)>;
void setOpenUrlHook(OpenUrlHook hook);
