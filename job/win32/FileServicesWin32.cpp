#include <windows.h>

#include "../FileServices.h"
#include "NarrowText.h"

namespace {

FileFault faultOf(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileFault::Busy;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return FileFault::Denied;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return FileFault::NoFolder;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileFault::NoSpace;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileFault::Exists;
        default:
            return FileFault::Other;
    }
}

}  // namespace

FolderListing listFolder(const std::string& folder) {
    FolderListing listing;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            listing.fault = FolderListing::Fault::NotOpened;
        return listing;
    }
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        listing.entries.push_back(
            {std::move(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        listing.entries.clear();
        listing.fault = FolderListing::Fault::CutShort;
    }
    FindClose(search);
    return listing;
}

MoveResult moveFileNoReplace(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) ? MoveResult::Moved : MoveResult::NotMoved;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    // Attributes only, shared every way: a document open in another program is still seen.
    // Backup semantics open a folder too, which takes a name as a file does.
    HANDLE file = CreateFileA(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    auto joined = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    return FileIdentity{info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow),
                        joined(info.nFileSizeHigh, info.nFileSizeLow),
                        static_cast<std::int64_t>(joined(info.ftLastWriteTime.dwHighDateTime,
                                                         info.ftLastWriteTime.dwLowDateTime))};
}

bool fitsNameLimits(const std::string& folder, const std::string& name) {
    // A name holds at most 255 UTF-16 units, one per character of the code page; the
    // narrow calls take at most MAX_PATH bytes, terminator included.
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < name.size(); pos += narrow_text::charLength(name, pos)) {
        ++characters;
    }
    return characters <= 255 && folder.size() + name.size() < MAX_PATH;
}

std::optional<FileFault> OutputFile::openHandle(const std::string& path, DWORD share,
                                                DWORD disposition) {
    close();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return faultOf(GetLastError());
    m_handle = file;
    m_nCommitted = 0;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::open(const std::string& path) {
    // Share mode 0: the open fails, before anything is truncated, while another program
    // holds the file, and nobody else opens it while the job runs.
    return openHandle(path, 0, CREATE_ALWAYS);
}

std::optional<FileFault> OutputFile::create(const std::string& path) {
    return openHandle(path, FILE_SHARE_READ, CREATE_NEW);
}

std::optional<FileFault> OutputFile::flushToDisk() {
    if (!FlushFileBuffers(m_handle))
        return faultOf(GetLastError());
    return std::nullopt;
}

std::optional<FileFault> OutputFile::writeLine(const std::string& bytes) {
    DWORD written = 0;
    BOOL ok =
        WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (ok && written == bytes.size()) {
        m_nCommitted += bytes.size();
        return std::nullopt;
    }
    DWORD error = ok ? ERROR_DISK_FULL : GetLastError();
    LARGE_INTEGER committed;
    committed.QuadPart = static_cast<LONGLONG>(m_nCommitted);
    if (SetFilePointerEx(m_handle, committed, nullptr, FILE_BEGIN))
        SetEndOfFile(m_handle);
    return faultOf(error);
}

std::optional<FileFault> OutputFile::finish() {
    std::optional<FileFault> fault;
    if (!FlushFileBuffers(m_handle))
        fault = faultOf(GetLastError());
    if (!CloseHandle(m_handle) && !fault)
        fault = faultOf(GetLastError());
    m_handle = INVALID_HANDLE_VALUE;
    return fault;
}

void OutputFile::close() {
    if (isOpen())
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool OutputFile::isOpen() const {
    return m_handle != INVALID_HANDLE_VALUE;
}
