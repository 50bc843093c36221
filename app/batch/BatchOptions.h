#pragma once

#include <optional>
#include <string>
#include <vector>

#include "JobSettings.h"

// The runner's command line:
//   tarnel-batch [--props LIST --out FILE] [--full-name] [--subfolders] [--types LIST]
//                [--rename [--dry-run] [--text-title] [--fix-names] [--number-duplicates]
//                 [--name-template TEMPLATE]] FOLDER
//   tarnel-batch --undo [JOURNAL]
struct BatchOptions {
    JobSettings settings;
    bool help = false;
    bool preview = false;  // --dry-run
    bool undo = false;
    std::string journal;  // the journal to undo; empty for the newest
};

// The options, or the usage error to print.
struct BatchParse {
    std::optional<BatchOptions> options;
    std::string error;
};

BatchParse parseBatchOptions(const std::vector<std::string>& args);

// The text of --help.
std::string batchUsage();
