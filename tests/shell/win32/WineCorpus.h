#pragma once

#include <windows.h>

#include <string>

// The folder of real documents beside the project, as a Windows path; empty when absent
// (tests that need it skip then).
inline std::string corpusFolder(const std::string& subfolder) {
    std::string path = std::string(TARNEL_CORPUS_DIR) + "/" + subfolder;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return path;
}
