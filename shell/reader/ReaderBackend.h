#pragma once

#include <cstddef>
#include <memory>

#include "ShellBackend.h"

// How far the reader reads ahead of the job: a disk or a network share answers many requests
// at once, the job asks for one document at a time.
struct ReadAheadOptions {
    // Threads reading documents ahead; 0 reads each document only when the job asks for it.
    unsigned threads = 16;
    // Documents read ahead of the one the job is at, at most: a few hundred bytes each. No
    // fewer than 256, so that threads and job can wait for several at a time.
    std::size_t window = 1024;
    // The bytes of texts the documents read ahead may hold: a thread starts no document while
    // they are past it, and goes on once the job has taken half of them. A hostile document's
    // texts are capped, but a window of them would still be hundreds of megabytes.
    std::size_t maxHeldBytes = 16u << 20;
};

// The Linux backend: the document reader answering the shell's calls.
std::unique_ptr<ShellBackend> makeReaderBackend(ReadAheadOptions options);
