// The configuration members of CCore: an INI file, read whole and replaced whole.
#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "CCore.h"
#include "ConfigPath.h"
#include "IniStore.h"
#include "NarrowText.h"

namespace {

// The store is the one piece of shared mutable state: every access holds this lock, so a
// save on one thread never interleaves with a read or save on another.
std::mutex& storeLock() {
    static std::mutex lock;
    return lock;
}

ini_store::Entries readStore() {
    std::string path = config_path::storeFile();
    if (path.empty())
        return {};
    std::string text = config_path::readWholeFile(path);
    // Saved as UTF-8 by an editor: the Windows program's texts are in the ANSI code page.
    if (text.starts_with(ini_store::kUtf8Bom))
        text = narrow_text::fromUtf8(text.substr(ini_store::kUtf8Bom.size()));
    return ini_store::parse(text);
}

void storeValue(const char* key, std::string value) {
    std::lock_guard guard(storeLock());
    std::string path = config_path::storeFile();
    if (path.empty())
        return;
    ini_store::Entries entries = readStore();
    entries[key] = std::move(value);
    config_path::replaceFileAtomically(path, ini_store::format(entries));
}

std::string storedValue(const char* key) {
    std::lock_guard guard(storeLock());
    ini_store::Entries entries = readStore();
    auto found = entries.find(key);
    return found == entries.end() ? std::string() : found->second;
}

}  // namespace

void CCore::autoFileConfig() {
    config_path::createStoreFolder();
}

std::string CCore::getConfigStr(const char* key) {
    return storedValue(key);
}

std::int32_t CCore::getConfigB(const char* key) {
    std::string text = storedValue(key);
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno || value < INT32_MIN || value > INT32_MAX)
        return 0;
    return static_cast<std::int32_t>(value);
}

void CCore::saveConfigStr(const char* key, std::string text) {
    storeValue(key, std::move(text));
}

void CCore::saveConfigB(const char* key, std::int32_t value) {
    storeValue(key, std::to_string(value));
}
