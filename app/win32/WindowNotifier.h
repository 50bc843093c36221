#pragma once

#include <windows.h>

#include <mutex>

#include "StartJob.h"

// A job's notices as messages to the dialog's window, posted (never sent) with word
// parameter 0, and handled on the window's thread.
inline constexpr UINT WM_SCAN_PROGRESS = WM_USER + 1;  // document N, from 1
inline constexpr UINT WM_SCAN_DONE = WM_USER + 2;      // documents reached

// Maps a job's events to PostMessage. A message carries only a number, so the report of
// done() waits here until the window handles WM_SCAN_DONE. A window that no longer exists
// makes the post fail silently.
class WindowNotifier : public JobEvents {
  public:
    explicit WindowNotifier(HWND window) : m_hNotifyWnd(window) {}

    void progress(std::int32_t n) override;
    void done(const JobReport& report) override;

    // The report of the job whose WM_SCAN_DONE is being handled; on the window's thread.
    JobReport takeReport();

  private:
    HWND m_hNotifyWnd;
    std::mutex m_lock;
    JobReport m_report;
};
