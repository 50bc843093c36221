#include <windows.h>

#include <cstring>

#include "../FileServices.h"
#include "NarrowText.h"
#include "PathSeparator.h"

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

std::uint64_t joined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return FileIdentity{info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow),
                        joined(info.nFileSizeHigh, info.nFileSizeLow),
                        static_cast<std::int64_t>(joined(info.ftLastWriteTime.dwHighDateTime,
                                                         info.ftLastWriteTime.dwLowDateTime))};
}

std::optional<FileIdentity> handleIdentity(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    return identityOf(info);
}

bool isAbsolutePath(const std::string& path) {
    bool drive = path.size() >= 3 && path[1] == ':' && isPathSeparator(path[2]);
    bool share = path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1]);
    return drive || share;
}

// The first bytes of an open file, as many as it gives of limit.
std::string headOf(HANDLE file, std::size_t limit) {
    std::string head(limit, '\0');
    DWORD got = 0;
    if (!ReadFile(file, head.data(), static_cast<DWORD>(limit), &got, nullptr))
        got = 0;
    head.resize(got);
    return head;
}

// Junctions, volume mount points and symbolic links lead elsewhere; a folder with another
// reparse point (a cloud drive's placeholder, deduplicated data) is the folder itself.
bool leadsElsewhere(DWORD attributes, DWORD tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (tag == static_cast<DWORD>(IO_REPARSE_TAG_MOUNT_POINT) ||
            tag == static_cast<DWORD>(IO_REPARSE_TAG_SYMLINK));
}

// The pattern listFolder asks for: every name.
constexpr char kListingPattern[] = "*.*";

}  // namespace

FolderListing listFolder(const std::string& folder) {
    FolderListing listing;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + kListingPattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            listing.fault = FolderListing::Fault::NotOpened;
        return listing;
    }
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        DWORD attributes = found.dwFileAttributes;
        listing.entries.push_back({std::move(name), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                   leadsElsewhere(attributes, found.dwReserved0),
                                   (attributes & FILE_ATTRIBUTE_HIDDEN) != 0});
    } while (FindNextFileA(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        listing.entries.clear();
        listing.fault = FolderListing::Fault::CutShort;
    }
    FindClose(search);
    return listing;
}

TreeFolderListing listTreeFolder(const std::string& folder, FolderLinks links) {
    TreeFolderListing found;
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;
    if (links == FolderLinks::Refuse)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE handle = CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, flags, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    bool isFolder = handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info) &&
                    (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Opened without following, a junction or link is the reparse point itself; one whose
    // kind cannot be told is taken for a link.
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (isFolder && links == FolderLinks::Refuse &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        isFolder = GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
                   !leadsElsewhere(tag.FileAttributes, tag.ReparseTag);
    }
    if (isFolder) {
        found.identity = identityOf(info);
        found.listing = listFolder(folder);
    } else {
        found.listing.fault = FolderListing::Fault::NotOpened;
    }
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    return found;
}

bool folderPathFits(const std::string& folder) {
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < folder.size(); pos += narrow_text::charLength(folder, pos)) {
        ++characters;
    }
    return characters + std::strlen(kListingPattern) < MAX_PATH;
}

bool namePrecedes(const std::string& a, const std::string& b) {
    int order = lstrcmpiA(a.c_str(), b.c_str());
    // Names equal but for case, which a case-sensitive folder can hold, still get one order.
    return order != 0 ? order < 0 : a < b;
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
    std::optional<FileIdentity> identity = handleIdentity(file);
    CloseHandle(file);
    return identity;
}

std::optional<std::string> readFileHead(const std::string& path, std::size_t limit) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<std::string> head;
    if (GetFileType(file) == FILE_TYPE_DISK)
        head = headOf(file, limit);
    CloseHandle(file);
    return head;
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

bool isRegularFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    DWORD notPlain =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & notPlain) == 0;
}

std::optional<std::string> absoluteFolder(const std::string& folder) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    std::string path(full, length);
    if (!isPathSeparator(path.back()))
        path += '\\';
    return path;
}

FolderHandle::~FolderHandle() = default;

bool FolderHandle::open(const std::string& folder) {
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (!isAbsolutePath(folder) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return false;
    m_folder = folder;
    return true;
}

std::optional<FileIdentity> FolderHandle::identity(const std::string& name) const {
    return fileIdentity(m_folder + name);
}

MoveResult FolderHandle::moveNoReplace(const std::string& from, const std::string& to) const {
    return moveFileNoReplace(m_folder + from, m_folder + to);
}

JournalFile::~JournalFile() {
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
}

std::optional<JournalFileFault> JournalFile::open(const std::string& path, std::uint64_t maxBytes) {
    // Sharing only reading fails while the job holds the journal for writing.
    m_handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION ? JournalFileFault::Locked
                                                         : JournalFileFault::Unreadable;
    }
    if (GetFileType(m_handle) != FILE_TYPE_DISK)
        return JournalFileFault::NotRegular;
    std::optional<FileIdentity> identity = handleIdentity(m_handle);
    if (!identity)
        return JournalFileFault::Unreadable;
    if (identity->size > maxBytes)
        return JournalFileFault::TooLarge;
    m_identity = *identity;
    return std::nullopt;
}

std::int64_t JournalFile::read(char* buffer, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(m_handle, buffer, static_cast<DWORD>(size), &got, nullptr))
        return -1;
    return got;
}

std::optional<FileFault> OutputFile::append(const std::string& path, const FileIdentity& expected) {
    if (std::optional<FileFault> fault =
            openHandle(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING))
        return fault;
    std::optional<FileIdentity> identity = handleIdentity(m_handle);
    LARGE_INTEGER end{};
    if (GetFileType(m_handle) != FILE_TYPE_DISK || !identity ||
        identity->volume != expected.volume || identity->index != expected.index ||
        !SetFilePointerEx(m_handle, end, nullptr, FILE_END)) {
        close();
        return FileFault::Other;
    }
    m_nCommitted = identity->size;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::openHandle(const std::string& path, DWORD access, DWORD share,
                                                DWORD disposition) {
    close();
    HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return faultOf(GetLastError());
    m_handle = file;
    m_nCommitted = 0;
    return std::nullopt;
}

std::optional<FileFault> OutputFile::open(const std::string& path, const OutputRefusal& refused) {
    // Share mode 0: the open fails, before anything is truncated, while another program
    // holds the file, and nobody else opens it while the job runs. Read too, to see what
    // the file begins with, unless the user may only write it.
    std::optional<FileFault> fault = openHandle(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    if (fault == FileFault::Denied)
        fault = openHandle(path, GENERIC_WRITE, 0, OPEN_ALWAYS);
    return fault ? fault : checkHeld(refused, true);
}

std::optional<FileFault> OutputFile::hold(const std::string& path, const OutputRefusal& refused) {
    std::optional<FileFault> fault =
        openHandle(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    if (fault == FileFault::Denied)
        fault = openHandle(path, GENERIC_WRITE, 0, OPEN_EXISTING);
    if (fault && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    return fault ? fault : checkHeld(refused, false);
}

std::optional<FileFault> OutputFile::checkHeld(const OutputRefusal& refused, bool truncate) {
    // A pipe, a console or a device is no file to keep lines in; truncated only once the
    // file is known for one the CSV may replace.
    std::optional<FileFault> fault;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(m_handle) != FILE_TYPE_DISK)
        fault = FileFault::NotAFile;
    else if (!GetFileInformationByHandle(m_handle, &info))
        fault = faultOf(GetLastError());
    else if (refused && refused({identityOf(info), info.nNumberOfLinks,
                                 headOf(m_handle, OpenedOutput::kHeadBytes)}))
        fault = FileFault::IsDocument;
    else if (truncate &&
             (SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
              !SetEndOfFile(m_handle)))
        fault = faultOf(GetLastError());
    if (fault)
        close();
    return fault;
}

std::optional<FileFault> OutputFile::create(const std::string& path) {
    return openHandle(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
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

std::variant<std::string, FileFault> createFileBeside(const std::string& path) {
    // The process and thread ids keep two jobs apart; a name still taken (a file left by a
    // crash) is passed over.
    std::string stem = path + "." + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(GetCurrentThreadId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem + "-" + std::to_string(attempt) + ".tmp";
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return name;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return faultOf(GetLastError());
    }
    return FileFault::Exists;
}

std::optional<FileFault> replaceFile(const std::string& from, const std::string& to) {
    HANDLE file = CreateFileA(from.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return faultOf(GetLastError());
    std::optional<FileFault> fault;
    if (!FlushFileBuffers(file))
        fault = faultOf(GetLastError());
    if (!CloseHandle(file) && !fault)
        fault = faultOf(GetLastError());
    if (!fault &&
        !MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fault = faultOf(GetLastError());
    return fault;
}

bool removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}
