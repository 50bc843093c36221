#pragma once

#include <string>

// What a dialog's behaviour asks of its window's controls. Controls are named by their
// IDC_ ids; texts are narrow (the ANSI code page on Windows, UTF-8 on Linux). Every call
// comes on the dialog's thread.
class DialogControls {
  public:
    DialogControls() = default;
    DialogControls(const DialogControls&) = delete;
    DialogControls& operator=(const DialogControls&) = delete;
    virtual ~DialogControls() = default;

    virtual std::string text(int id) = 0;
    virtual void setText(int id, const std::string& text) = 0;
    // 0 (clear) or 1 (set).
    virtual int checkState(int id) = 0;
    virtual void setCheckState(int id, int state) = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual void focus(int id) = 0;

    // A modal warning box owned by the dialog; returns when dismissed.
    virtual void warn(const std::string& text) = 0;
};
