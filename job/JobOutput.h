#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FileServices.h"
#include "ShellAccess.h"

// Where the job's rows go: a CSV file, or a workbook when the output's name says so. Each
// keeps the output's rules: held while the job writes it, every fault returned, and what
// was added is in the file once it is finished, after a stop or a failure too. Job thread
// only.
class JobOutput {
  public:
    JobOutput() = default;
    JobOutput(const JobOutput&) = delete;
    JobOutput& operator=(const JobOutput&) = delete;
    virtual ~JobOutput() = default;

    // The form the output takes its fields in.
    virtual TextForm textForm() const = 0;
    // Takes the output at path; a file that refused() rejects, or that another program holds,
    // is left as it was.
    virtual std::optional<FileFault> open(const std::string& path,
                                          const OutputRefusal& refused) = 0;
    // Adds a row; it may be kept back for a later write of many.
    virtual std::optional<FileFault> addRow(const std::vector<std::string>& fields) = 0;
    // Writes the rows kept back, so that a document's row is out before it is renamed.
    virtual std::optional<FileFault> writeRows() = 0;
    // Writes what is kept back and completes and closes the output; a fault here counts
    // like a failed write.
    virtual std::optional<FileFault> finish() = 0;
    virtual bool isOpen() const = 0;
};

// True when path names a workbook: it ends in ".xlsx", in any case.
bool isWorkbookPath(const std::string& path);

// The output that path names: a workbook or a CSV file.
std::unique_ptr<JobOutput> makeJobOutput(const std::string& path);
