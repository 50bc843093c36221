#include "FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

FileSource::FileSource(const std::string& path, std::size_t tailBytes, int at,
                       const std::atomic<bool>* abandon)
    : m_abandon(abandon) {
    // Allocated before the file is open, so a failure cannot leave it open. O_NONBLOCK:
    // a pipe named like a document must not hang the job; it is then refused as no file.
    m_tail.reserve(tailBytes);
    // Reading properties is no use of the file: its access time stays, where the file is
    // ours to open so (O_NOATIME needs its owner).
    int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    m_fd = ::openat(at, path.c_str(), flags | O_NOATIME);
    if (m_fd < 0 && errno == EPERM)
        m_fd = ::openat(at, path.c_str(), flags);
    if (m_fd < 0) {
        m_failed = true;
        return;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = static_cast<std::uint64_t>(st.st_size);
    std::size_t tail = m_size < tailBytes ? static_cast<std::size_t>(m_size) : tailBytes;
    m_tailOffset = m_size - tail;
    m_tail.resize(tail);
    if (!preadFully(m_fd, m_tailOffset, tail, m_tail.data())) {
        m_failed = true;
        m_tail.clear();
        m_tailOffset = m_size;
    }
}

FileSource::~FileSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileSource::read(std::uint64_t offset, std::size_t length, std::string& out) {
    if (m_fd < 0 || !inside(offset, length) || abandoned())
        return false;
    if (offset >= m_tailOffset && length <= m_tail.size() - (offset - m_tailOffset)) {
        out.assign(m_tail, static_cast<std::size_t>(offset - m_tailOffset), length);
        return true;
    }
    out.resize(length);
    if (preadFully(m_fd, offset, length, out.data()))
        return true;
    m_failed = true;
    return false;
}

bool preadFully(int fd, std::uint64_t offset, std::size_t length, char* out) {
    while (length > 0) {
        ssize_t got = ::pread(fd, out, length, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        // A file that shrank since it was opened ends early: treat it as unreadable.
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        length -= static_cast<std::size_t>(got);
    }
    return true;
}
