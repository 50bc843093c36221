#pragma once

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>

#include "TempDir.h"
#include "TestShell.h"

// A folder of empty documents whose job the test shell holds at each document until the
// test lets it go on, so every progress text can be seen in turn.
class GatedDocuments {
  public:
    GatedDocuments(TestShellBackend& shell, std::initializer_list<const char*> names) {
        for (const char* name : names)
            m_folder.write(name);
        shell.onParseName([this](const std::string&) {
            int index = ++m_reached;
            while (m_allowed < index)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    const std::string& path() const { return m_folder.path(); }
    // Lets the job go on up to that many documents.
    void allow(int documents) { m_allowed = documents; }

  private:
    TempDir m_folder;
    std::atomic<int> m_reached{0};
    std::atomic<int> m_allowed{0};
};
