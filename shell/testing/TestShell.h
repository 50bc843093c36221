#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "ShellBackend.h"

// A shell with deterministic texts for the job's tests, over the real file system:
//   NameSpace(path)  -> a folder when path names an existing folder, else nullptr
//   ParseName(name)  -> an item when folder + name exists, else nullptr
//   heading of column c        -> "H" + c
//   detail of column 0         -> the name
//   detail of TITLE_COLUMN     -> the title set for the name, else empty
//   detail of column c         -> "D" + c + ":" + name, or the text set for (name, c)
//   item unreadable            -> for the names marked so
//   item text                  -> the text set for the name, else empty
// Failures and hooks can be set before a job starts; the counters may be read after.
class TestShellBackend : public ShellBackend {
  public:
    struct Failure {
        std::string name;  // the document whose details fail
        std::int32_t hr;
    };

    void setTitle(const std::string& name, const std::string& title);
    void setDetail(const std::string& name, int column, const std::string& text);
    void failDetailsOf(const std::string& name, std::int32_t hr);
    void markUnreadable(const std::string& name);
    void setText(const std::string& name, const std::string& text);
    void failConnect() { m_failConnect = true; }
    // Called on the job's thread at every ParseName, before the answer.
    void onParseName(std::function<void(const std::string& name)> hook);

    std::unique_ptr<ShellObject> connect() override;

    int threadEnters() const { return m_enters; }
    int threadLeaves() const { return m_leaves; }
    // References still held by the job (shell, folders, items); 0 after a clean job.
    int liveObjects() const { return m_live; }
    // Whether the last expectItems said that the items' texts will be asked for.
    bool textExpected() const;

    void enterThread() override { ++m_enters; }
    void leaveThread() override { ++m_leaves; }

    // Used by the test shell's own objects.
    struct State;

  private:
    std::shared_ptr<State> m_state = std::make_shared<State>();
    bool m_failConnect = false;
    std::atomic<int> m_enters{0}, m_leaves{0}, m_live{0};
    friend struct TestShellObjects;
};

struct TestShellBackend::State {
    std::mutex lock;
    std::map<std::string, std::string> titles;
    std::map<std::pair<std::string, int>, std::string> details;
    std::map<std::string, std::int32_t> failures;
    std::set<std::string> unreadable;
    std::map<std::string, std::string> texts;
    bool textExpected = false;
    std::function<void(const std::string&)> parseHook;
};
