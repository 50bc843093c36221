#include "DialogState.h"

JobSettings& processJobSettings() {
    static JobSettings settings;
    return settings;
}

ProcessPaths& processPaths() {
    static ProcessPaths paths;
    return paths;
}

void setProcessPaths(const std::string& appPath) {
    processPaths() = ProcessPaths(appPath);
}
