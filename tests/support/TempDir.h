#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "PathSeparator.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, ending with a separator.
    const std::string& path() const { return m_path; }
    // path() + name
    std::string file(const std::string& name) const { return m_path + name; }
    // Writes content to path() + name (creating the file).
    void write(const std::string& name, const std::string& content = {}) const;
    void makeFolder(const std::string& name) const;

  private:
    std::string m_path;
};

// Reads a whole file, or empty text.
std::string readFile(const std::string& path);

// Polls until the predicate holds or the time runs out; true when it held.
inline bool waitFor(const std::function<bool()>& predicate,
                    std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};
