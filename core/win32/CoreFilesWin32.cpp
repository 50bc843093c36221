#include <windows.h>

#include "../CCore.h"
#include "../ConfigPath.h"
#include "../NarrowText.h"
#include "../PathSeparator.h"

namespace {

std::string programFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::size_t slash = narrow_text::findLastChar(path, isPathSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Only making a file tells: a folder's read-only attribute does not stop writes, and its
// access rules are the file system's to apply. The probe is gone when its handle closes.
bool canMakeFilesIn(const std::string& folder) {
    std::string probe = folder + "~tarnel-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(GetCurrentThreadId()) + ".tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

}  // namespace

// The program's own files (the _propids.txt reference) live beside it, unless its folder is
// closed to the user (Program Files) and holds none yet: then they go to the user's folder
// of the program, beside the settings.
std::string CCore::getAppPath() {
    std::string folder = programFolder();
    if (folder.empty() || isFileExist(folder + "_propids.txt") || canMakeFilesIn(folder))
        return folder;
    config_path::createStoreFolder();
    std::string userFolder = config_path::storeFolder();
    if (!isPathExist(userFolder))
        return folder;
    return userFolder + kPathSeparator;
}

int CCore::isPathExist(std::string path) {
    if (path.empty())
        return 0;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CCore::isFileExist(std::string path) {
    if (path.empty())
        return 0;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CCore::createFile(std::string path, int create) {
    if (!create || path.empty())
        return;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}
