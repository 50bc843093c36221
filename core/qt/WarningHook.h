#pragma once

#include <functional>
#include <string>

#include "../CCore.h"

// Tests answer CCore::msgboxWarning here instead of on screen: while a hook is set, the
// box is not shown and the hook gets its owner and text. Dialog thread only.
using WarningHook = std::function<void(OwnerWindow owner, const std::string& text)>;
void setWarningHook(WarningHook hook);
