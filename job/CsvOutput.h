#pragma once

#include "JobOutput.h"

// The CSV file: one line per row in the system's narrow code page, written in blocks of
// lines straight into the file, which another program may read as it grows.
class CsvOutput : public JobOutput {
  public:
    TextForm textForm() const override { return TextForm::Narrow; }
    std::optional<FileFault> open(const std::string& path, const OutputRefusal& refused) override;
    std::optional<FileFault> addRow(const std::vector<std::string>& fields) override;
    std::optional<FileFault> writeRows() override;
    std::optional<FileFault> finish() override;
    bool isOpen() const override { return m_file.isOpen(); }

  private:
    OutputFile m_file;
    // Complete lines not yet written: one write for many small lines.
    std::string m_pendingLines;
    static constexpr std::size_t kLineBlockBytes = 64u << 10;
};
