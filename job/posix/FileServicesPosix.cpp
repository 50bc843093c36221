#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "../FileServices.h"

namespace {

FileFault faultOf(int error) {
    switch (error) {
        case EWOULDBLOCK:
            return FileFault::Busy;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileFault::Denied;
        case ENOENT:
        case ENOTDIR:
            return FileFault::NoFolder;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileFault::NoSpace;
        default:
            return FileFault::Other;
    }
}

}  // namespace

std::optional<std::vector<ListingEntry>> listFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::vector<ListingEntry> entries;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool directory = entry->d_type == DT_DIR;
        // A link counts as what it points to, as the shell sees it.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            directory =
                ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({std::move(name), directory});
    }
    ::closedir(dir);
    return entries;
}

bool moveFileNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // Without RENAME_NOREPLACE, link() still refuses an existing target.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

bool fitsNameLimits(const std::string& folder, const std::string& name) {
    long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    return name.size() <= static_cast<std::size_t>(limit);
}

std::optional<FileFault> OutputFile::open(const std::string& path) {
    close();
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return faultOf(errno);
    // Truncating only once the lock is ours keeps a file another program holds intact.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ftruncate(fd, 0) != 0) {
        int error = errno;
        ::close(fd);
        return faultOf(error);
    }
    m_fd = fd;
    m_nCommitted = 0;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::writeLine(const std::string& bytes) {
    ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
    if (written == static_cast<ssize_t>(bytes.size())) {
        m_nCommitted += bytes.size();
        return std::nullopt;
    }
    int error = written < 0 ? errno : ENOSPC;
    if (::ftruncate(m_fd, static_cast<off_t>(m_nCommitted)) == 0) {
        ::lseek(m_fd, static_cast<off_t>(m_nCommitted), SEEK_SET);
    }
    return faultOf(error);
}

void OutputFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool OutputFile::isOpen() const {
    return m_fd >= 0;
}
