#include "ReferenceFolder.h"

namespace {

bool holdsReference(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / "_propids.txt", error);
}

}  // namespace

std::filesystem::path referenceFolder(const std::filesystem::path& programFolder,
                                      const std::filesystem::path& dataFromProgram) {
    if (holdsReference(programFolder))
        return programFolder;
    std::filesystem::path installed = (programFolder / dataFromProgram).lexically_normal();
    return holdsReference(installed) ? installed : programFolder;
}
