#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"

// One of the project's programs, started from the folder the test program runs from, with
// the test's environment; its standard output and error go to files of its own.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    // A program still running is ended: a test that failed leaves nothing behind.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_process.hProcess != nullptr; }
    DWORD id() const { return m_process.dwProcessId; }
    // The exit code, or nothing when the program has not ended within the time.
    std::optional<DWORD> wait(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    std::string output() const { return readFile(m_streams.file("out.txt")); }
    std::string errors() const { return readFile(m_streams.file("err.txt")); }

  private:
    TempDir m_streams;
    PROCESS_INFORMATION m_process{};
};

// The folder of the test program, where the build puts every program (ends with "\").
std::string programFolder();
