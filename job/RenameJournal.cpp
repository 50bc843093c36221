#include "RenameJournal.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sstream>

#include "ConfigPath.h"
#include "IniStore.h"
#include "PathSeparator.h"

namespace rename_journal {
namespace {

constexpr char kHead[] = "tarnel rename journal 1";
constexpr char kPrefix[] = "rename-";
constexpr char kSuffix[] = ".journal";
// A job's journal takes the number after the highest; another job that took it first
// leaves the next ones.
constexpr int kNumberTries = 100;
// A rename line of typical names takes about 150 bytes and one of the longest names (255
// bytes each, every byte escaped) about 2.2 KiB: a million renames fit well below the cap,
// a line longer than kMaxLineBytes is none of a journal's.
constexpr std::uint64_t kMaxJournalBytes = 256ull << 20;
constexpr std::size_t kMaxLineBytes = 8 << 10;
constexpr std::size_t kReadBytes = 64 << 10;

std::string journalFolder() {
    std::string folder = config_path::storeFolder();
    return folder.empty() ? folder : folder + kPathSeparator;
}

bool isJournalName(const std::string& name) {
    return name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

// The journal's number: the digits between prefix and suffix. Journals of earlier versions
// are named by their start time and count as 0, older than every numbered one.
std::uint64_t numberOf(const std::string& path) {
    std::size_t begin = path.rfind(kPrefix) + sizeof kPrefix - 1;
    std::size_t end = path.size() - (sizeof kSuffix - 1);
    std::uint64_t number = 0;
    auto [stop, error] = std::from_chars(path.data() + begin, path.data() + end, number);
    return error == std::errc() && stop == path.data() + end ? number : 0;
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

// Builds a journal from its lines, in order.
class JournalParser {
  public:
    explicit JournalParser(Journal& journal) : m_journal(journal) {}

    // False once the lines are no journal's: the rest need not be read.
    bool line(const std::string& line) {
        if (!m_bHead) {
            m_bHead = line == kHead;
            return m_bHead;
        }
        if (auto folder = quotedValue(line, "folder")) {
            m_journal.folder = *folder;
            m_folder = *folder;
        } else if (auto folder = quotedValue(line, "in")) {
            m_folder = *folder;
        } else if (auto started = quotedValue(line, "started")) {
            m_journal.started = *started;
        } else if (auto undone = quotedValue(line, "undone")) {
            m_journal.undone = *undone;
        } else if (line.starts_with("restored ")) {
            restoredLine(line);
        } else if (line.starts_with("rename \"")) {
            if (auto entry = parseEntry(line, 7)) {
                entry->folder = m_folder;
                m_journal.entries.push_back(std::move(*entry));
            }
        }
        return true;
    }

    // False when the journal is incomplete or names a file by more than a single name.
    bool finish() {
        // An undo of an earlier version noted the journal as a whole.
        bool wholeUndone = m_journal.undone && m_restored.empty();
        m_journal.restored.assign(m_journal.entries.size(), wholeUndone);
        for (std::size_t entry : m_restored) {
            if (entry < m_journal.restored.size())
                m_journal.restored[entry] = true;
        }
        return m_bHead && !m_journal.folder.empty();
    }

  private:
    void restoredLine(const std::string& line) {
        std::size_t entry = 0;
        const char* end = line.data() + line.size();
        auto [stop, error] = std::from_chars(line.data() + 9, end, entry);
        if (error == std::errc() && stop == end)
            m_restored.push_back(entry);
    }

    Journal& m_journal;
    std::string m_folder;  // of the entries that follow
    bool m_bHead = false;
    std::vector<std::size_t> m_restored;
};

// Hands the file's lines to the parser as they are read, leaving out lines too long for a
// journal, and the last one when it has no end. Whether the last had none, false when the
// parser stopped early, nothing when reading failed.
std::optional<bool> readLines(JournalFile& file, JournalParser& parser) {
    std::vector<char> buffer(kReadBytes);
    std::string line;
    bool tooLong = false;
    std::uint64_t total = 0;
    std::int64_t n;
    while ((n = file.read(buffer.data(), buffer.size())) > 0 && total < kMaxJournalBytes) {
        total += static_cast<std::uint64_t>(n);
        const char* pos = buffer.data();
        const char* end = pos + n;
        while (pos < end) {
            const char* newline = static_cast<const char*>(std::memchr(pos, '\n', end - pos));
            const char* stop = newline ? newline : end;
            if (!tooLong)
                line.append(pos, stop);
            if (line.size() > kMaxLineBytes) {
                line.clear();
                tooLong = true;
            }
            pos = stop;
            if (!newline)
                break;
            if (!tooLong && !parser.line(line))
                return false;
            line.clear();
            tooLong = false;
            ++pos;
        }
    }
    if (n < 0)
        return std::nullopt;
    return !line.empty() || tooLong;
}

std::string refusalText(JournalFileFault fault) {
    switch (fault) {
        case JournalFileFault::NotRegular:
            return "改名记录不是普通文件，未读取：";
        case JournalFileFault::NotOwned:
            return "改名记录不属于当前用户，未使用：";
        case JournalFileFault::TooLarge:
            return "文件过大，不是改名记录，未读取：";
        case JournalFileFault::Locked:
            return "仍有任务在改名并写入这份改名记录，请待其结束后再撤销：";
        case JournalFileFault::Unreadable:
            break;
    }
    return "无法读取改名记录，或该文件不是改名记录：";
}

JournalRead refused(const std::string& text, const std::string& path) {
    return JournalRead{std::nullopt, text + path};
}

void dropOldJournals(const std::string& spared) {
    std::vector<std::string> paths = journalPaths();
    std::erase(paths, spared);
    while (paths.size() >= kJournalsKept) {
        std::remove(paths.front().c_str());
        paths.erase(paths.begin());
    }
}

}  // namespace

std::vector<std::string> journalPaths() {
    std::string folder = journalFolder();
    std::vector<std::string> paths;
    if (folder.empty())
        return paths;
    for (const ListingEntry& entry : listFolder(folder).entries) {
        // A pipe or a link named like a journal is none, and reading it could wait forever.
        if (isJournalName(entry.name) && isRegularFile(folder + entry.name))
            paths.push_back(folder + entry.name);
    }
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return numberOf(a) < numberOf(b);
    });
    return paths;
}

JournalRead read(const std::string& path) {
    JournalFile file;
    if (std::optional<JournalFileFault> fault = file.open(path, kMaxJournalBytes))
        return refused(refusalText(*fault), path);
    Journal journal;
    journal.path = path;
    journal.file = file.identity();
    JournalParser parser(journal);
    std::optional<bool> cutShort = readLines(file, parser);
    if (!parser.finish() || !cutShort)
        return refused(refusalText(JournalFileFault::Unreadable), path);
    journal.cutShort = *cutShort;
    return JournalRead{std::move(journal), {}};
}

JournalRead latest() {
    std::vector<std::string> paths = journalPaths();
    if (paths.empty())
        return JournalRead{std::nullopt, kNoRenameJournal};
    return read(paths.back());
}

bool isSingleName(const std::string& name) {
    bool separator = name.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
    bool dotsAndBlanks = name.find_first_not_of(". ") == std::string::npos;
    return !separator && !dotsAndBlanks;
}

bool isFolderWithin(const std::string& top, const std::string& folder) {
    if (!folder.starts_with(top))
        return false;
    for (std::size_t pos = top.size(); pos < folder.size();) {
        std::size_t end = folder.find(kPathSeparator, pos);
        if (end == std::string::npos || !isSingleName(folder.substr(pos, end - pos)))
            return false;
        pos = end + 1;
    }
    return true;
}

std::string localTimeText() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &now);
#else
    localtime_r(&now, &parts);
#endif
    char text[32];
    std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return std::string(text, length);
}

}  // namespace rename_journal

std::size_t Journal::remaining() const {
    return static_cast<std::size_t>(std::count(restored.begin(), restored.end(), false));
}

JournalWriter::JournalWriter(std::string documentFolder)
    : m_documentFolder(std::move(documentFolder)), m_started(rename_journal::localTimeText()) {}

std::optional<FileFault> JournalWriter::open() {
    using namespace rename_journal;
    std::string folder = journalFolder();
    if (folder.empty())
        return FileFault::NoFolder;
    // The undo may run from another working folder, or the folder's path may lead
    // elsewhere by then: the journal keeps where the files are.
    std::optional<std::string> documents = absoluteFolder(m_documentFolder);
    if (!documents)
        return FileFault::NoFolder;
    config_path::createStoreFolder();
    std::vector<std::string> paths = journalPaths();
    std::uint64_t number = paths.empty() ? 0 : numberOf(paths.back());
    std::optional<FileFault> fault = FileFault::Exists;
    for (int n = 0; fault == FileFault::Exists && n < kNumberTries; ++n) {
        std::string digits = std::to_string(++number);
        // Padded, so that a listing by name shows them in order too.
        digits.insert(0, digits.size() < 6 ? 6 - digits.size() : 0, '0');
        m_path = folder + kPrefix + digits + kSuffix;
        fault = m_file.create(m_path);
    }
    m_absoluteFolder = *documents;
    if (!fault) {
        fault = writeLine(std::string(kHead) + "\nfolder " + ini_store::quoted(*documents) +
                          "\nstarted " + ini_store::quoted(m_started));
    }
    if (fault) {
        m_file.close();
        return fault;
    }
    dropOldJournals(m_path);
    return std::nullopt;
}

std::optional<FileFault> JournalWriter::record(const JournalEntry& entry) {
    const FileIdentity& id = entry.identity;
    bool newFolder = entry.folder != m_lastFolder;
    std::string folderLine =
        newFolder ? "in " + ini_store::quoted(m_absoluteFolder + entry.folder) + "\n" : "";
    std::optional<FileFault> fault =
        writeLine(folderLine + "rename " + ini_store::quoted(entry.oldName) + " " +
                  ini_store::quoted(entry.newName) + " " + std::to_string(id.volume) + " " +
                  std::to_string(id.index) + " " + std::to_string(id.size) + " " +
                  std::to_string(id.modified));
    if (!fault && newFolder)
        m_lastFolder = entry.folder;
    return fault;
}

std::optional<FileFault> JournalWriter::writeLine(const std::string& line) {
    if (std::optional<FileFault> fault = m_file.writeLine(line + "\n"))
        return fault;
    return m_file.flushToDisk();
}

bool JournalMarks::restored(std::size_t entry) {
    if (m_bFailed)
        return false;
    std::string lines;
    if (!m_file.isOpen()) {
        m_bFailed = m_file.append(m_journal.path, m_journal.file).has_value();
        if (m_bFailed)
            return false;
        // A word no line takes ends a line a crash cut short, so it stays out.
        lines = (m_journal.cutShort ? " -\n" : "") + std::string("undone ") +
                ini_store::quoted(rename_journal::localTimeText()) + "\n";
    }
    lines += "restored " + std::to_string(entry) + "\n";
    m_bFailed = m_file.writeLine(lines).has_value();
    return !m_bFailed;
}

bool JournalMarks::finish() {
    if (m_file.isOpen() && m_file.finish())
        m_bFailed = true;
    return !m_bFailed;
}
