#pragma once

#include "JobOutput.h"
#include "WorkbookWriter.h"

// The workbook: its rows in UTF-8, written to a file beside the output and moved over it
// once complete, so a spreadsheet never opens half a zip and a job that stops or fails
// still leaves a valid workbook of the rows done. The file at the output's name, when
// there is one, is held meanwhile as the CSV's is, and the owner file "~$NAME" that Excel
// and WPS keep beside a workbook they have open refuses the job as a held file does.
class WorkbookOutput : public JobOutput {
  public:
    ~WorkbookOutput() override;

    TextForm textForm() const override { return TextForm::Utf8; }
    std::optional<FileFault> open(const std::string& path, const OutputRefusal& refused) override;
    std::optional<FileFault> addRow(const std::vector<std::string>& fields) override;
    // The library takes each row as it comes; there is nothing to write before the end.
    std::optional<FileFault> writeRows() override { return std::nullopt; }
    std::optional<FileFault> finish() override;
    bool isOpen() const override { return m_writer.isOpen(); }

  private:
    void discard();

    OutputFile m_held;
    WorkbookWriter m_writer;
    std::string m_path;
    std::string m_temporary;
};

// The owner file Excel and WPS keep beside the file at path while they have it open.
std::string ownerFilePath(const std::string& path);
