#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "TestShell.h"

// Holds the test shell's job at each document until the test lets it go on, so every
// progress text can be seen in turn.
class DocumentGate {
  public:
    void install(TestShellBackend& shell) {
        shell.onParseName([this](const std::string&) {
            int index = ++m_reached;
            while (m_allowed < index)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    // Lets the job go on up to that many documents.
    void allow(int documents) { m_allowed = documents; }

  private:
    std::atomic<int> m_reached{0};
    std::atomic<int> m_allowed{0};
};
