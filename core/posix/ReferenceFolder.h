#pragma once

#include <filesystem>

// The folder that holds _propids.txt for a program in programFolder: the program's own folder
// when the reference stands there (the build tree), else the installed data folder reached by
// dataFromProgram (relative to programFolder) when it holds the reference, else the program's
// own folder.
std::filesystem::path referenceFolder(const std::filesystem::path& programFolder,
                                      const std::filesystem::path& dataFromProgram);
