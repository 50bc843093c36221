#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ShellError;
enum class FileFault;

// What a job has to tell the user at its end, in Chinese: the one failure that ended it,
// the documents it had to skip and the property numbers it clamped.
class JobReport {
  public:
    void outputNotOpened(const std::string& path, FileFault fault);
    void outputNotWritten(const std::string& path, FileFault fault);
    void shellNotConnected();
    void folderNotOpened(const std::string& folder);
    void folderNotOpened(const std::string& folder, const ShellError& error);
    void folderNotRead(const std::string& folder);
    void folderVanished(const std::string& folder);
    void documentFailed(const std::string& name, const ShellError& error);
    void jobFailed(const std::string& what);

    void skipped(const std::string& name);
    void clamped(const std::vector<std::string>& fields);

    bool failed() const { return !m_failure.empty(); }
    // The whole message, empty after a clean job.
    std::string text() const;

  private:
    std::string m_failure;
    std::int32_t m_nSkipped = 0;
    std::vector<std::string> m_firstSkipped;
    std::vector<std::string> m_clampedFields;
};
