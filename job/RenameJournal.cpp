#include "RenameJournal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include "ConfigPath.h"
#include "IniStore.h"
#include "PathSeparator.h"

namespace rename_journal {
namespace {

constexpr char kHead[] = "tarnel rename journal 1";
constexpr char kPrefix[] = "rename-";
constexpr char kSuffix[] = ".journal";
// Journals started in the same millisecond take a number after the stamp: "_02" to "_99",
// which sort after the first one's "." and in their own order.
constexpr int kSameStampTries = 99;

std::tm calendarTime(std::time_t time, bool local) {
    std::tm parts{};
#ifdef _WIN32
    local ? localtime_s(&parts, &time) : gmtime_s(&parts, &time);
#else
    local ? localtime_r(&time, &parts) : gmtime_r(&time, &parts);
#endif
    return parts;
}

std::string formatted(const std::tm& parts, const char* format) {
    char text[32];
    std::size_t length = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, length);
}

std::string journalFolder() {
    std::string folder = config_path::storeFolder();
    return folder.empty() ? folder : folder + kPathSeparator;
}

bool isJournalName(const std::string& name) {
    return name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

// The words of an entry line after its two names: volume, index, size, modified.
std::optional<FileIdentity> parseIdentity(const std::string& rest) {
    std::istringstream in(rest);
    FileIdentity identity;
    if (!(in >> identity.volume >> identity.index >> identity.size >> identity.modified))
        return std::nullopt;
    std::string extra;
    if (in >> extra)
        return std::nullopt;
    return identity;
}

std::optional<JournalEntry> parseEntry(const std::string& line, std::size_t pos) {
    JournalEntry entry;
    std::optional<std::size_t> end = ini_store::readQuoted(line, pos, entry.oldName);
    if (!end || line.compare(*end, 2, " \"") != 0)
        return std::nullopt;
    end = ini_store::readQuoted(line, *end + 1, entry.newName);
    if (!end)
        return std::nullopt;
    std::optional<FileIdentity> identity = parseIdentity(line.substr(*end));
    if (!identity || entry.oldName.empty() || entry.newName.empty())
        return std::nullopt;
    entry.identity = *identity;
    return entry;
}

// A line "word "value"": the value, or nothing when the line is another or cut short.
std::optional<std::string> quotedValue(const std::string& line, const std::string& word) {
    if (!line.starts_with(word + " \""))
        return std::nullopt;
    std::string value;
    std::optional<std::size_t> end = ini_store::readQuoted(line, word.size() + 1, value);
    if (!end || *end != line.size())
        return std::nullopt;
    return value;
}

void applyLine(Journal& journal, const std::string& line) {
    if (auto folder = quotedValue(line, "folder")) {
        journal.folder = *folder;
    } else if (auto started = quotedValue(line, "started")) {
        journal.started = *started;
    } else if (auto undone = quotedValue(line, "undone")) {
        journal.undone = *undone;
    } else if (line.starts_with("rename \"")) {
        if (auto entry = parseEntry(line, 7))
            journal.entries.push_back(*entry);
    }
}

void dropOldJournals() {
    std::vector<std::string> paths = journalPaths();
    if (paths.size() <= kJournalsKept)
        return;
    for (std::size_t i = 0; i < paths.size() - kJournalsKept; ++i) {
        std::remove(paths[i].c_str());
    }
}

}  // namespace

std::vector<std::string> journalPaths() {
    std::string folder = journalFolder();
    std::vector<std::string> paths;
    if (folder.empty())
        return paths;
    for (const ListingEntry& entry : listFolder(folder).entries) {
        if (!entry.directory && isJournalName(entry.name))
            paths.push_back(folder + entry.name);
    }
    // The names begin with the start time, so their order is the jobs' order.
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::optional<Journal> read(const std::string& path) {
    std::string text = config_path::readWholeFile(path);
    // A line without its end was cut short.
    text.erase(text.rfind('\n') + 1);
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHead)
        return std::nullopt;
    Journal journal;
    journal.path = path;
    while (std::getline(lines, line)) {
        applyLine(journal, line);
    }
    if (journal.folder.empty())
        return std::nullopt;
    return journal;
}

std::optional<Journal> latest() {
    std::vector<std::string> paths = journalPaths();
    if (paths.empty())
        return std::nullopt;
    return read(paths.back());
}

bool markUndone(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    // On a line of its own even after a line a crash cut short.
    out << "\nundone " << ini_store::quoted(localTimeText()) << "\n";
    out.flush();
    return static_cast<bool>(out);
}

std::string localTimeText() {
    return formatted(calendarTime(std::time(nullptr), true), "%Y-%m-%d %H:%M:%S");
}

}  // namespace rename_journal

JournalWriter::JournalWriter(std::string documentFolder)
    : m_documentFolder(std::move(documentFolder)), m_started(rename_journal::localTimeText()) {
    using namespace std::chrono;
    auto now = system_clock::now();
    auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    char millis[8];
    std::snprintf(millis, sizeof millis, "-%03d", static_cast<int>(milliseconds.count()));
    // Universal time, so the order of the names stays the order of the jobs across a
    // change of the clocks.
    m_base =
        rename_journal::journalFolder() + rename_journal::kPrefix +
        rename_journal::formatted(rename_journal::calendarTime(system_clock::to_time_t(now), false),
                                  "%Y%m%d-%H%M%S") +
        millis;
    m_path = m_base + rename_journal::kSuffix;
}

std::optional<FileFault> JournalWriter::open() {
    if (rename_journal::journalFolder().empty())
        return FileFault::NoFolder;
    config_path::createStoreFolder();
    std::optional<FileFault> fault = m_file.create(m_path);
    for (int n = 2; fault == FileFault::Exists && n <= rename_journal::kSameStampTries; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "_%02d", n);
        m_path = m_base + number + rename_journal::kSuffix;
        fault = m_file.create(m_path);
    }
    if (!fault) {
        fault = writeLine(std::string(rename_journal::kHead) + "\nfolder " +
                          ini_store::quoted(m_documentFolder) + "\nstarted " +
                          ini_store::quoted(m_started));
    }
    if (fault) {
        m_file.close();
        return fault;
    }
    rename_journal::dropOldJournals();
    return std::nullopt;
}

std::optional<FileFault> JournalWriter::record(const JournalEntry& entry) {
    const FileIdentity& id = entry.identity;
    return writeLine("rename " + ini_store::quoted(entry.oldName) + " " +
                     ini_store::quoted(entry.newName) + " " + std::to_string(id.volume) + " " +
                     std::to_string(id.index) + " " + std::to_string(id.size) + " " +
                     std::to_string(id.modified));
}

std::optional<FileFault> JournalWriter::writeLine(const std::string& line) {
    if (std::optional<FileFault> fault = m_file.writeLine(line + "\n"))
        return fault;
    return m_file.flushToDisk();
}
