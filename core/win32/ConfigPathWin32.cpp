#include <windows.h>

#include <shlobj.h>

#include <cstdlib>

#include "../ConfigPath.h"

namespace config_path {

std::string storeFolder() {
    const char* appData = std::getenv("APPDATA");
    if (appData && *appData)
        return std::string(appData) + "\\Tarnel";
    char path[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path) != S_OK)
        return {};
    return std::string(path) + "\\Tarnel";
}

std::string storeFile() {
    std::string folder = storeFolder();
    return folder.empty() ? folder : folder + "\\Tarnel.ini";
}

void createStoreFolder() {
    std::string folder = storeFolder();
    if (!folder.empty())
        SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
}

bool replaceFileAtomically(const std::string& target, const std::string& content) {
    std::string temporary = target + ".tmp" + std::to_string(GetCurrentProcessId()) + "_" +
                            std::to_string(GetCurrentThreadId());
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size() && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (!ok || !MoveFileExA(temporary.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

std::string readWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    CloseHandle(file);
    return content;
}

}  // namespace config_path
