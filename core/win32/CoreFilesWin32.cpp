#include <windows.h>

#include "../CCore.h"
#include "../NarrowText.h"
#include "../PathSeparator.h"

std::string CCore::getAppPath() {
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
