#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The platform's file services the job needs: the folder listing, a rename that never
// replaces, and the output file. Job thread only.

struct ListingEntry {
    std::string name;
    bool directory = false;
};

// Every entry of the folder but "." and "..", in the order the platform yields them;
// nullopt when the folder cannot be read. The job scans this snapshot, so a document it
// renames is not met a second time.
std::optional<std::vector<ListingEntry>> listFolder(const std::string& folder);

// Moves from to to, both in the same folder; false when to exists or the move fails.
// Never replaces a file.
bool moveFileNoReplace(const std::string& from, const std::string& to);

// True when name, created in folder, is within the file system's name and path lengths.
bool fitsNameLimits(const std::string& folder, const std::string& name);

// Why the output file could not be opened or written.
enum class FileFault { Busy, Denied, NoFolder, NoSpace, Other };

// The CSV output file: opened exclusively, so another program that holds the file keeps
// it, and written in whole lines, so a failing write leaves only complete lines behind.
class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { close(); }

    // Opens the file for writing, created, exclusively, and only then truncated.
    std::optional<FileFault> open(const std::string& path);
    // Writes the bytes in one write; on a failing or short write the file is cut back to
    // what it held before and the fault returned.
    std::optional<FileFault> writeLine(const std::string& bytes);
    void close();
    bool isOpen() const;

  private:
#ifdef _WIN32
    void* m_handle = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
#else
    int m_fd = -1;
#endif
    std::uint64_t m_nCommitted = 0;  // bytes of complete lines in the file
};
