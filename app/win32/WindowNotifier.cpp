#include "WindowNotifier.h"

#include <utility>

void WindowNotifier::progress(std::int32_t n) {
    PostMessageA(m_hNotifyWnd, WM_SCAN_PROGRESS, 0, static_cast<LPARAM>(n));
}

void WindowNotifier::done(const JobReport& report) {
    {
        std::lock_guard guard(m_lock);
        m_report = report;
    }
    PostMessageA(m_hNotifyWnd, WM_SCAN_DONE, 0, static_cast<LPARAM>(report.documents()));
}

JobReport WindowNotifier::takeReport() {
    std::lock_guard guard(m_lock);
    return std::exchange(m_report, JobReport());
}
