#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "../CCore.h"
#include "ReferenceFolder.h"

std::string CCore::getAppPath() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path folder = error ? std::filesystem::current_path(error) : exe.parent_path();
    return parsePath(referenceFolder(folder, TARNEL_DATA_FROM_PROGRAM).string());
}

int CCore::isPathExist(std::string path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int CCore::isFileExist(std::string path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void CCore::createFile(std::string path, int create) {
    if (!create || path.empty())
        return;
    // Without blocking: a FIFO at the path would wait for a reader.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::close(fd);
}
