#pragma once

#include <string>

#include "JobSettings.h"

// The settings record the dialog shows, copies and saves: one per process, on the dialog's
// thread only. A job never sees it; it works on the copy in its request.
JobSettings& processJobSettings();

// The two paths derived from the core services' application path at start-up.
struct ProcessPaths {
    ProcessPaths() = default;
    explicit ProcessPaths(const std::string& appPath)
        : appPath(appPath), refFilePath(appPath + "_propids.txt") {}

    std::string appPath;      // CCore::getAppPath()
    std::string refFilePath;  // the reference file, opened by 参考..
};
ProcessPaths& processPaths();
void setProcessPaths(const std::string& appPath);
