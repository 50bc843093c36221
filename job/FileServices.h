#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The platform's file services the job needs: the folder listing, a rename that never
// replaces, and the output file. Job thread only.

struct ListingEntry {
    std::string name;
    bool directory = false;  // a folder, or a link or junction to one
    bool link = false;       // a symbolic link; on Windows a junction or volume mount point too
    bool hidden = false;     // hidden on Windows; a name starting with "." on Linux
};

// Every entry of the folder but "." and "..", in the file system's name order on Windows
// and in byte order of the names on Linux (where readdir's order changes from run to run), or
// why there is none: the folder could not be opened, or reading it failed part way (the
// entries read until then are no complete listing and are dropped). The job scans this
// snapshot, so a document it renames is not met a second time.
struct FolderListing {
    enum class Fault { None, NotOpened, CutShort };
    std::vector<ListingEntry> entries;
    Fault fault = Fault::None;
};
FolderListing listFolder(const std::string& folder);

enum class MoveResult {
    Moved,
    NotMoved,              // the target exists, or the move failed
    NoReplaceUnsupported,  // the file system cannot move without the risk of replacing
};

// Moves from to to, both in the same folder. Never replaces a file, not even one that
// appears at to while the move runs.
MoveResult moveFileNoReplace(const std::string& from, const std::string& to);

// What tells one file from another that took its name: where it lives (device or volume
// serial, inode or file index) and what it holds (size, modification time).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path, not following a link; nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// A folder of a tree listed as listFolder does, with its identity, which tells a folder met a
// second time or one on another device. A tree's top folder is taken wherever its path leads
// (FolderLinks::Follow); a subfolder is not listed (NotOpened) when its own name is a link or
// junction by the time it is opened (FolderLinks::Refuse).
enum class FolderLinks { Follow, Refuse };
struct TreeFolderListing {
    FolderListing listing;
    FileIdentity identity;
};
TreeFolderListing listTreeFolder(const std::string& folder, FolderLinks links);

// True when folder (ending with a separator) is short enough to be listed: within the narrow
// calls' 259 characters on Windows, with the listing's pattern "*.*" after it; shorter than
// PATH_MAX on Linux.
bool folderPathFits(const std::string& folder);

// The order in which subfolders are taken: byte order of the names on Linux, as listFolder's;
// the system's name comparison without case on Windows, as its file manager shows them.
bool namePrecedes(const std::string& a, const std::string& b);

// True when name, created in folder, is within the file system's name and path lengths.
bool fitsNameLimits(const std::string& folder, const std::string& name);

// True when a file stands at path itself, not a folder, a link, a pipe or a device.
bool isRegularFile(const std::string& path);

// The folder as an absolute path (links resolved on Linux), ending with a path separator;
// nothing when it cannot be resolved.
std::optional<std::string> absoluteFolder(const std::string& folder);

// A folder opened once, in which entries are named by single names (no separator, not
// "." or ".."; the caller checks them): whatever becomes of the path to the folder
// afterwards, a name given here means an entry of this folder and nothing outside it.
// Linux holds a descriptor of the folder; Windows joins the checked name to the folder's
// absolute path.
class FolderHandle {
  public:
    FolderHandle() = default;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    ~FolderHandle();

    // False when folder is not an absolute path of a folder that can be opened.
    bool open(const std::string& folder);
    // The identity of the entry name, not following a link.
    std::optional<FileIdentity> identity(const std::string& name) const;
    // Moves from to to within the folder; never replaces, as moveFileNoReplace.
    MoveResult moveNoReplace(const std::string& from, const std::string& to) const;

  private:
#ifdef _WIN32
    std::string m_folder;
#else
    int m_fd = -1;
#endif
};

// Why an existing journal could not be opened to read.
enum class JournalFileFault { Unreadable, NotRegular, NotOwned, TooLarge, Locked };

// A journal opened to read it, never waiting on what stands at its path (a pipe).
class JournalFile {
  public:
    JournalFile() = default;
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;
    ~JournalFile();

    // Opens path: a regular file of at most maxBytes, on Linux owned by this user, that no
    // job holds for writing (the job's lock on Linux, its share mode on Windows).
    std::optional<JournalFileFault> open(const std::string& path, std::uint64_t maxBytes);
    // Reads up to size bytes: how many, 0 at the end, -1 on a failure.
    std::int64_t read(char* buffer, std::size_t size);
    // The file opened.
    const FileIdentity& identity() const { return m_identity; }

  private:
#ifdef _WIN32
    void* m_handle = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
#else
    int m_fd = -1;
#endif
    FileIdentity m_identity;
};

// The first bytes of the regular file at path, at most limit of them; nothing when it is no
// regular file or cannot be read. Opened without blocking, so a FIFO never holds the caller.
std::optional<std::string> readFileHead(const std::string& path, std::size_t limit);

// Why the output file could not be opened or written. NotAFile: a FIFO, a device or the
// like stands at the path; IsDocument: the file is a document the CSV would destroy;
// OfficeLockFile: only LibreOffice's lock file beside it says it is held; OwnerFile: only
// the owner file "~$NAME" of Excel or WPS beside a workbook says so; SheetFull: a
// workbook's sheet takes no more rows; WorkbookNotWritten: the workbook library failed.
enum class FileFault {
    Busy,
    Denied,
    NoFolder,
    NoSpace,
    Exists,
    NotAFile,
    IsDocument,
    OfficeLockFile,
    OwnerFile,
    SheetFull,
    WorkbookNotWritten,
    Other
};

// An output file as open() finds it, before anything in it is truncated.
struct OpenedOutput {
    FileIdentity identity;
    std::uint64_t links = 1;  // names the file has: more than one, and another may be a document
    std::string head;         // its first kHeadBytes, when it could be read
    static constexpr std::size_t kHeadBytes = 8;  // enough for every document signature
};
// Whether the file found is one that must not be overwritten.
using OutputRefusal = std::function<bool(const OpenedOutput&)>;

// The CSV output file: opened exclusively, so another program that holds the file keeps
// it, and written in whole lines, so a failing write leaves only complete lines behind.
// On Windows nobody else may open the file while the job holds it. On Linux every lock
// is advisory: the job refuses a file on which another program holds a flock, a POSIX
// record lock or an open-file-description lock (this program, LibreOffice and others
// that lock), or beside which LibreOffice's lock file ".~lock.NAME#" stands; an editor
// that takes no lock is not seen, and nothing keeps a program from opening the file
// while the job writes it. Only a regular file (or a new one) is taken: it is opened
// without blocking, so a FIFO at the path cannot hold the job.
class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { close(); }

    // Opens the file for writing, created, exclusively, and only then truncated; a file
    // that refused() rejects is left as it was (IsDocument).
    std::optional<FileFault> open(const std::string& path, const OutputRefusal& refused);
    // Holds an existing file as open() does, with the same refusals and locks, but leaves
    // it as it is: the output is written beside it and moved over it at the end. A path
    // where nothing stands is no fault; nothing is held then.
    std::optional<FileFault> hold(const std::string& path, const OutputRefusal& refused);
    // Creates a new file for appending; Exists when the name is taken, which stays as it was.
    // While it is open, no other writer may take it: the job's journal, which an undo must
    // not read before the job is done with it.
    std::optional<FileFault> create(const std::string& path);
    // Opens an existing regular file for appending, when it is still the file of that
    // volume and index (not one put at its path since); without waiting on a pipe.
    std::optional<FileFault> append(const std::string& path, const FileIdentity& expected);
    // Writes the bytes in one write; on a failing or short write the file is cut back to
    // what it held before and the fault returned.
    std::optional<FileFault> writeLine(const std::string& bytes);
    // Brings what was written to the disk, so that it outlives a crash of the system.
    std::optional<FileFault> flushToDisk();
    // Flushes the file to its disk and closes it. A full disk or an exceeded quota on a
    // network file system may show only here, so its fault counts like a failed write.
    std::optional<FileFault> finish();
    // Closes the file without looking at the result.
    void close();
    bool isOpen() const;

  private:
#ifdef _WIN32
    // What open and hold check once the file is open; truncate: open's last step.
    std::optional<FileFault> checkHeld(const OutputRefusal& refused, bool truncate);
    // open and create differ in the access, the sharing and the disposition they ask for.
    std::optional<FileFault> openHandle(const std::string& path, unsigned long access,
                                        unsigned long share, unsigned long disposition);
    void* m_handle = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
#else
    int m_fd = -1;
#endif
    std::uint64_t m_nCommitted = 0;  // bytes of complete lines in the file
};

// A new empty file beside path, named after it, that no other file had: where an output is
// written whole before it replaces path. Its name, or why none could be made.
std::variant<std::string, FileFault> createFileBeside(const std::string& path);

// Brings the file from to its disk, then moves it over to, replacing what stands there, in
// one step that outlives a crash of the system.
std::optional<FileFault> replaceFile(const std::string& from, const std::string& to);

// Deletes the file at path; false when it could not.
bool removeFile(const std::string& path);
