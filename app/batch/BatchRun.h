#pragma once

#include <memory>
#include <ostream>

#include "BatchOptions.h"
#include "ShellBackend.h"

class CCore;

// Runs one job the way the dialog's start button does (the same checks and messages),
// writing the progress count to err (one line rewritten with "\r" on a terminal, else
// only the end), the report to err and the done line to out. A preview first writes its
// lines to out. Returns the exit code: 0 success, 1 a failed check or a job that reported
// an error.
int runBatchJob(const JobSettings& settings, std::shared_ptr<CCore> core,
                std::shared_ptr<ShellBackend> shell, std::ostream& out, std::ostream& err,
                bool errIsTerminal, bool preview = false);

// Undoes the renames of the journal at path (the newest when empty), writing the report to
// out. Returns 0 when every file got its old name back, else 1.
int runBatchUndo(const std::string& journalPath, std::ostream& out, std::ostream& err);
