#pragma once

#include <optional>
#include <string>
#include <vector>

#include "JobSettings.h"

// The runner's command line:
//   tarnel-batch [--props LIST --out FILE] [--full-name] [--rename] FOLDER
struct BatchOptions {
    JobSettings settings;
    bool help = false;
};

// The options, or the usage error to print.
struct BatchParse {
    std::optional<BatchOptions> options;
    std::string error;
};

BatchParse parseBatchOptions(const std::vector<std::string>& args);

// The text of --help.
std::string batchUsage();
