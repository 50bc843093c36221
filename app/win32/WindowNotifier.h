#pragma once

#include <memory>

#include "ScanLink.h"

// Posts the job's notices to a window with PostMessage; the window's thread handles them.
// A window that no longer exists makes the post fail silently.
std::shared_ptr<ScanNotifier> makeWindowNotifier(void* hwnd);
