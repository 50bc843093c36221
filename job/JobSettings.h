#pragma once

#include <cstdint>
#include <optional>
#include <string>

class CCore;

// The persisted settings of a job. Plain data: a job works on its own copy.
struct JobSettings {
    std::string pathuser;          // folder whose documents are processed
    std::string propids;           // property list: shell detail column numbers, comma-separated
    std::string fileout;           // CSV output file
    std::int32_t getprops = 0;     // extract properties into the CSV file
    std::int32_t colfullname = 0;  // full path of each document in the first column
    std::int32_t rename = 0;       // rename each document to its title
    // How renames make their names; none of them changes a job that leaves them as they are.
    std::int32_t texttitle = 0;         // an empty or placeholder title: the text's first paragraph
    std::int32_t fixnames = 0;          // characters no name holds made full-width, and so on
    std::int32_t numberdups = 0;        // a name taken: the first free " (2)", " (3)" ...
    std::string nametemplate = "{21}";  // the new name from column numbers in braces
    std::int32_t subfolders = 0;        // the documents of the whole tree below pathuser too
    std::string doctypes = "doc,docx";  // the extensions of the documents, comma-separated
};

// The field whose control receives the focus after a failed check.
// NameTemplate has no control in the main dialogs: its failure moves no focus there.
enum class SettingsField { Pathuser, Propids, Fileout, NameTemplate };

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
