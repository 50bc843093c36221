#pragma once

#include <cstdint>
#include <string>

// The first sectors of a hostile compound file, for tests and benchmarks of the .doc
// reader: every allocation-table entry points at its own sector, so each chain (the
// directory's, the mini table's, the mini stream's, each stream's) loops on one sector, as
// does the DIFAT; the header claims more table sectors than any file has and the root entry
// 2^40 bytes. Whatever follows (a hole in a sparse file) reads as zeros.
struct LoopingCompoundFile {
    unsigned sectorShift = 9;
    unsigned miniSectorShift = 2;
    // Below 4096 the two property streams live in the mini stream.
    std::uint64_t streamSize = 100;

    // At least 4 KiB: the header and four sectors (allocation table, directory, DIFAT, data).
    std::string head() const;
};
