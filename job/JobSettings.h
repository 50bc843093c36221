#pragma once

#include <cstdint>
#include <optional>
#include <string>

class CCore;

// The six persisted settings of a job. Plain data: a job works on its own copy.
struct JobSettings {
    std::string pathuser;          // folder whose documents are processed
    std::string propids;           // property list: shell detail column numbers, comma-separated
    std::string fileout;           // CSV output file
    std::int32_t getprops = 0;     // extract properties into the CSV file
    std::int32_t colfullname = 0;  // full path of each document in the first column
    std::int32_t rename = 0;       // rename each document to its title
};

// The field whose control receives the focus after a failed check.
enum class SettingsField { Pathuser, Propids, Fileout };

struct SettingsFailure {
    std::string message;
    std::optional<SettingsField> focus;  // none for the action rule
};

JobSettings loadJobSettings(CCore& core);
void saveJobSettings(CCore& core, const JobSettings& settings);

// The two checks that decide whether a job may start, applied in this order by
// checkJobRequest: the first failure, or nothing.
std::optional<SettingsFailure> validateJobSettings(const JobSettings& settings, CCore& core);
std::optional<SettingsFailure> checkActionRule(const JobSettings& settings);
