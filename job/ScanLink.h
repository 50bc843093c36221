#pragma once

#include <atomic>
#include <mutex>
#include <string>

// What a running job and its front-end share. Every piece is jointly owned (shared_ptr),
// so the worker never uses anything the front-end has freed.

// The job's notices, posted (never sent) with word parameter 0.
inline constexpr unsigned WM_SCAN_PROGRESS = 0x0400 + 1;  // WM_USER+1: document N, from 1
inline constexpr unsigned WM_SCAN_DONE = 0x0400 + 2;      // WM_USER+2: documents reached

// Where the notices go: PostMessage to the dialog on Windows, a posted event to the Qt
// dialog, a queue in the runner.
class ScanNotifier {
  public:
    virtual ~ScanNotifier() = default;
    // Called on the job's thread. Must only post: never block, never touch a widget.
    virtual void post(unsigned message, long lParam) = 0;
};

// The command word: "STOP" or empty text, read and written atomically by both threads.
class CommandWord {
  public:
    void set(const std::string& text) { m_stop = text == "STOP"; }
    std::string text() const { return m_stop ? "STOP" : ""; }
    bool isStop() const { return m_stop; }

  private:
    std::atomic<bool> m_stop{true};
};

// The one message a job leaves for the user (what failed, documents skipped), set by the
// job before it posts WM_SCAN_DONE; empty after a clean job. failed() tells a job that a
// failure ended from one that only has something to say (documents it skipped).
class ScanReport {
  public:
    void set(std::string text, bool failed = false) {
        std::lock_guard guard(m_lock);
        m_text = std::move(text);
        m_failed = failed;
    }
    std::string text() const {
        std::lock_guard guard(m_lock);
        return m_text;
    }
    bool failed() const {
        std::lock_guard guard(m_lock);
        return m_failed;
    }

  private:
    mutable std::mutex m_lock;
    std::string m_text;
    bool m_failed = false;
};
