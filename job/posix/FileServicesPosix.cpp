#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "../FileServices.h"
#include "../OfficeLockFile.h"

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
        case EEXIST:
            return FileFault::Exists;
        case ENXIO:  // a FIFO without a reader, a socket, a device that is not there
        case EISDIR:
            return FileFault::NotAFile;
        default:
            return FileFault::Other;
    }
}

bool hasOfficeLockFile(const std::string& path) {
    struct stat info;
    return ::lstat(officeLockFilePath(path).c_str(), &info) == 0;
}

FileIdentity identityOf(const struct stat& info) {
    return FileIdentity{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::uint64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// A write lock over the whole file, on the open file description: it meets the POSIX
// record locks other programs take, which flock does not see. A file system without
// such locks leaves the flock alone to guard the file.
std::optional<FileFault> lockRecords(int fd) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &whole) == 0)
        return std::nullopt;
    switch (errno) {
        case EAGAIN:
        case EACCES:
            return FileFault::Busy;
        case EINVAL:
        case ENOLCK:
        case EOPNOTSUPP:
            return std::nullopt;
        default:
            return faultOf(errno);
    }
}

// Moves from to to, both relative to the folder descriptor (or the working directory).
MoveResult moveNoReplaceAt(int folder, const std::string& from, const std::string& to) {
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return MoveResult::Moved;
    // Any other way (a check before the move, link and unlink) leaves a moment in which a
    // file that appears at either name is replaced or deleted.
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
        return MoveResult::NoReplaceUnsupported;
    return MoveResult::NotMoved;
}

// Opening never waits for a writer at a pipe, nor makes a terminal the controlling one.
constexpr int kOpenAnyFile = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
// Only a regular file is an output: a FIFO, a device or a socket is refused, and the file
// blocks again for the writes, which must be whole. Then refused() has its say.
std::optional<FileFault> checkOpened(int fd, const OutputRefusal& refused) {
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return faultOf(errno);
    if (!S_ISREG(info.st_mode))
        return FileFault::NotAFile;
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return faultOf(errno);
    OpenedOutput found{identityOf(info), static_cast<std::uint64_t>(info.st_nlink), {}};
    // A file opened for writing only gives no head; the identity still counts.
    char head[OpenedOutput::kHeadBytes];
    ssize_t got = ::pread(fd, head, sizeof head, 0);
    if (got > 0)
        found.head.assign(head, static_cast<std::size_t>(got));
    if (refused && refused(found))
        return FileFault::IsDocument;
    return std::nullopt;
}

// Another program's locks on the output: the file's own first, then LibreOffice's lock
// file beside it, which is told apart as it may be left over from a crash.
std::optional<FileFault> checkLocks(int fd, const std::string& path) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return faultOf(errno);
    if (std::optional<FileFault> fault = lockRecords(fd))
        return fault;
    if (hasOfficeLockFile(path))
        return FileFault::OfficeLockFile;
    return std::nullopt;
}

// Opens path to write it, without blocking, as a FIFO would wait for a reader; to read it
// too, to see what the file begins with, unless the user may only write it.
int openForWriting(const std::string& path, int create) {
    int fd = ::open(path.c_str(), O_RDWR | create | kOpenAnyFile, 0666);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_WRONLY | create | kOpenAnyFile, 0666);
    return fd;
}

// Whether the file open at fd may be the output: a regular file that refused() accepts and
// that no other program holds.
std::optional<FileFault> takeOpened(int fd, const std::string& path, const OutputRefusal& refused) {
    std::optional<FileFault> fault = checkOpened(fd, refused);
    return fault ? fault : checkLocks(fd, path);
}

// Brings the folder's entries to its disk, so that a rename in it outlives a crash.
void syncFolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// As opendir opens: without blocking, should a FIFO stand at the path.
constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC;

ListingEntry entryOf(int folder, const dirent& found) {
    ListingEntry entry{found.d_name};
    entry.hidden = found.d_name[0] == '.';
    unsigned char type = found.d_type;
    struct stat info;
    if (type == DT_UNKNOWN && ::fstatat(folder, found.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        type = IFTODT(info.st_mode);
    entry.link = type == DT_LNK;
    // A link counts as what it points to, as the shell sees it.
    entry.directory = entry.link
                          ? ::fstatat(folder, found.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode)
                          : type == DT_DIR;
    return entry;
}

// The listing of the folder open at fd, which it closes; NotOpened when fd is -1.
FolderListing readFolder(int fd) {
    FolderListing listing;
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        listing.fault = FolderListing::Fault::NotOpened;
        return listing;
    }
    // readdir tells its end from an error only through errno.
    errno = 0;
    while (const dirent* found = ::readdir(dir)) {
        if (std::strcmp(found->d_name, ".") != 0 && std::strcmp(found->d_name, "..") != 0)
            listing.entries.push_back(entryOf(::dirfd(dir), *found));
        errno = 0;
    }
    if (errno != 0) {
        listing.entries.clear();
        listing.fault = FolderListing::Fault::CutShort;
    }
    ::closedir(dir);
    std::sort(
        listing.entries.begin(), listing.entries.end(),
        [](const ListingEntry& a, const ListingEntry& b) { return namePrecedes(a.name, b.name); });
    return listing;
}

}  // namespace

FolderListing listFolder(const std::string& folder) {
    return readFolder(::open(folder.c_str(), kOpenFolder));
}

TreeFolderListing listTreeFolder(const std::string& folder, FolderLinks links) {
    int fd = ::open(folder.c_str(),
                    links == FolderLinks::Refuse ? kOpenFolder | O_NOFOLLOW : kOpenFolder);
    TreeFolderListing found;
    struct stat info;
    // The identity of the folder the descriptor holds is that of the folder listed, whatever
    // has become of its path meanwhile.
    if (fd >= 0 && ::fstat(fd, &info) == 0)
        found.identity = identityOf(info);
    found.listing = readFolder(fd);
    return found;
}

bool folderPathFits(const std::string& folder) {
    return folder.size() < PATH_MAX;
}

bool namePrecedes(const std::string& a, const std::string& b) {
    return a < b;
}

MoveResult moveFileNoReplace(const std::string& from, const std::string& to) {
    return moveNoReplaceAt(AT_FDCWD, from, to);
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return identityOf(info);
}

std::optional<std::string> readFileHead(const std::string& path, std::size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | kOpenAnyFile);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string head(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        ssize_t got = ::read(fd, head.data() + filled, limit - filled);
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    head.resize(filled);
    return head;
}

std::variant<std::string, FileFault> createFileBeside(const std::string& path) {
    // The process id keeps two programs apart, the counter two outputs of one; a name still
    // taken (a file left by a crash) is passed over.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path + "." + std::to_string(::getpid()) + "-" +
                           std::to_string(counter.fetch_add(1)) + ".tmp";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            return faultOf(errno);
    }
    return FileFault::Exists;
}

std::optional<FileFault> replaceFile(const std::string& from, const std::string& to) {
    int fd = ::open(from.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return faultOf(errno);
    std::optional<FileFault> fault;
    if (::fsync(fd) != 0)
        fault = faultOf(errno);
    if (::close(fd) != 0 && !fault && errno != EINTR)
        fault = faultOf(errno);
    if (!fault && ::rename(from.c_str(), to.c_str()) != 0)
        fault = faultOf(errno);
    if (!fault)
        syncFolderOf(to);
    return fault;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool fitsNameLimits(const std::string& folder, const std::string& name) {
    long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    return name.size() <= static_cast<std::size_t>(limit);
}

bool isRegularFile(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> absoluteFolder(const std::string& folder) {
    char* resolved = ::realpath(folder.c_str(), nullptr);
    if (!resolved)
        return std::nullopt;
    std::string path = resolved;
    ::free(resolved);
    if (!path.ends_with('/'))
        path += '/';
    return path;
}

FolderHandle::~FolderHandle() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderHandle::open(const std::string& folder) {
    if (!folder.starts_with('/'))
        return false;
    m_fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return m_fd >= 0;
}

std::optional<FileIdentity> FolderHandle::identity(const std::string& name) const {
    struct stat info;
    if (::fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return identityOf(info);
}

MoveResult FolderHandle::moveNoReplace(const std::string& from, const std::string& to) const {
    return moveNoReplaceAt(m_fd, from, to);
}

JournalFile::~JournalFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<JournalFileFault> JournalFile::open(const std::string& path, std::uint64_t maxBytes) {
    m_fd = ::open(path.c_str(), O_RDONLY | kOpenAnyFile);
    struct stat info;
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return JournalFileFault::Unreadable;
    if (!S_ISREG(info.st_mode))
        return JournalFileFault::NotRegular;
    // A journal another user could write could name any file of this user's.
    if (info.st_uid != ::geteuid())
        return JournalFileFault::NotOwned;
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return JournalFileFault::TooLarge;
    // A read lock meets the write lock the job holds on its journal.
    struct flock whole {};
    whole.l_type = F_RDLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(m_fd, F_OFD_SETLK, &whole) != 0 && (errno == EAGAIN || errno == EACCES))
        return JournalFileFault::Locked;
    m_identity = identityOf(info);
    return std::nullopt;
}

std::int64_t JournalFile::read(char* buffer, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(m_fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

std::optional<FileFault> OutputFile::append(const std::string& path, const FileIdentity& expected) {
    close();
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | kOpenAnyFile);
    if (fd < 0)
        return faultOf(errno);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_dev) != expected.volume ||
        static_cast<std::uint64_t>(info.st_ino) != expected.index) {
        ::close(fd);
        return FileFault::Other;
    }
    m_fd = fd;
    m_nCommitted = static_cast<std::uint64_t>(info.st_size);
    return std::nullopt;
}

std::optional<FileFault> OutputFile::open(const std::string& path, const OutputRefusal& refused) {
    close();
    int fd = openForWriting(path, O_CREAT);
    if (fd < 0)
        return faultOf(errno);
    // Truncating only once the file is known for one the CSV may replace, and its locks
    // are ours, keeps a document or a file another program holds intact.
    std::optional<FileFault> fault = takeOpened(fd, path, refused);
    if (!fault && ::ftruncate(fd, 0) != 0)
        fault = faultOf(errno);
    if (fault) {
        ::close(fd);
        return fault;
    }
    m_fd = fd;
    m_nCommitted = 0;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::hold(const std::string& path, const OutputRefusal& refused) {
    close();
    int fd = openForWriting(path, 0);
    if (fd < 0 && errno == ENOENT)
        return hasOfficeLockFile(path) ? std::optional(FileFault::OfficeLockFile) : std::nullopt;
    if (fd < 0)
        return faultOf(errno);
    if (std::optional<FileFault> fault = takeOpened(fd, path, refused)) {
        ::close(fd);
        return fault;
    }
    m_fd = fd;
    m_nCommitted = 0;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::create(const std::string& path) {
    close();
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return faultOf(errno);
    if (std::optional<FileFault> fault = lockRecords(fd)) {
        ::close(fd);
        ::unlink(path.c_str());
        return fault;
    }
    m_fd = fd;
    m_nCommitted = 0;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::flushToDisk() {
    if (::fdatasync(m_fd) != 0)
        return faultOf(errno);
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

std::optional<FileFault> OutputFile::finish() {
    std::optional<FileFault> fault;
    if (::fsync(m_fd) != 0)
        fault = faultOf(errno);
    // The descriptor is gone after close, whatever it answers; EINTR is no retry.
    if (::close(m_fd) != 0 && !fault && errno != EINTR)
        fault = faultOf(errno);
    m_fd = -1;
    return fault;
}

void OutputFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool OutputFile::isOpen() const {
    return m_fd >= 0;
}
