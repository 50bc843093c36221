#pragma once

// Declares one of the readers' small caches (a zlib state, the last relationships part):
// one per thread. MinGW's static runtime frees a thread's storage before it runs the
// destructors of its thread_local objects, which corrupts the heap as the thread ends, so on
// Windows each use makes a fresh one instead; the job reads there one document at a time on
// its own thread, and the shell's calls cost far more.
#ifdef _WIN32
#define READER_CACHE
#else
#define READER_CACHE thread_local
#endif
