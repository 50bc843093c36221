#include "ObjectTally.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "TableLine.h"

namespace stand_in {
namespace {

std::atomic<long> g_created{0};
std::atomic<long> g_freed{0};
std::atomic<long> g_overReleased{0};

}  // namespace

void objectCreated() {
    ++g_created;
}

void objectFreed() {
    ++g_freed;
}

void objectOverReleased() {
    ++g_overReleased;
}

bool anyObjectAlive() {
    return g_created != g_freed;
}

void writeRecord() {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(kRecordVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    // Plain file calls: this runs while the loader unloads the DLL.
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[96];
    int size = std::snprintf(line, sizeof line, "created=%ld freed=%ld overreleased=%ld\r\n",
                             g_created.load(), g_freed.load(), g_overReleased.load());
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

}  // namespace stand_in
