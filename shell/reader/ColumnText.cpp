#include "ColumnText.h"

#include <pwd.h>

#include <cstdio>
#include <ctime>
#include <iterator>
#include <map>
#include <vector>

#include "AsciiCase.h"

namespace {

// The owner's user name, looked up once per user and thread: a folder's files mostly share
// one owner, and each look-up may read the user database.
const std::string& ownerName(uid_t uid) {
    thread_local std::map<uid_t, std::string> names;
    auto found = names.find(uid);
    if (found != names.end())
        return found->second;
    std::string name = std::to_string(uid);
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* result = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &result) == 0 && result)
        name = result->pw_name;
    return names.emplace(uid, std::move(name)).first->second;
}

std::string attributeLetters(const ItemFacts& item) {
    std::string letters;
    if (item.readOnly)
        letters += 'R';
    if (item.hidden)
        letters += 'H';
    if (item.isFolder)
        letters += 'D';
    // A file the user has not archived: the file system keeps no such mark, so every
    // file shows it, as every newly written file does on Windows.
    if (!item.isFolder)
        letters += 'A';
    return letters;
}

std::string itemType(const ItemFacts& item) {
    if (item.kind && item.kind->typeName)
        return item.kind->typeName;
    if (item.isFolder)
        return "文件夹";
    if (item.extension.empty())
        return "文件";
    return ascii_case::upper(item.extension) + " 文件";
}

// The shell files presentations under a kind of their own, every other document as a document.
std::string kindText(const DocumentKind& kind) {
    return kind.family == DocumentFamily::presentation ? "演示文稿" : "文档";
}

std::string optionalTime(const std::optional<std::int64_t>& seconds) {
    return seconds ? formatLocalTime(*seconds) : std::string();
}

std::string optionalNumber(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

// The length of a document in its kind's own count: a word-processing document's pages, a
// presentation's slides; a spreadsheet has none. A file the name types as no document is
// taken as word processing, the kind the job reads by default.
std::optional<std::int64_t> pageCount(const DocumentKind* kind,
                                      const DocumentProperties& document) {
    DocumentFamily family = kind ? kind->family : DocumentFamily::wordProcessing;
    switch (family) {
        case DocumentFamily::wordProcessing:
            return document.pages;
        case DocumentFamily::presentation:
            return document.slides;
        case DocumentFamily::spreadsheet:
            break;
    }
    return std::nullopt;
}

std::string documentText(ColumnField field, const DocumentKind* kind,
                         const DocumentProperties& document) {
    switch (field) {
        case ColumnField::keywords:
            return document.keywords;
        case ColumnField::authors:
            return document.authors;
        case ColumnField::title:
            return document.title;
        case ColumnField::subject:
            return document.subject;
        case ColumnField::category:
            return document.category;
        case ColumnField::comments:
            return document.comments;
        case ColumnField::company:
            return document.company;
        case ColumnField::application:
            return document.application;
        case ColumnField::contentCreated:
            return optionalTime(document.created);
        case ColumnField::lastPrinted:
            return optionalTime(document.lastPrinted);
        case ColumnField::lastSaved:
            return optionalTime(document.lastSaved);
        case ColumnField::pages:
            return optionalNumber(pageCount(kind, document));
        case ColumnField::editingTime:
            return document.editingSeconds ? formatDuration(*document.editingSeconds)
                                           : std::string();
        case ColumnField::words:
            return optionalNumber(document.words);
        case ColumnField::lastAuthor:
            return document.lastAuthor;
        case ColumnField::revision:
            return document.revision;
        case ColumnField::templateName:
            return document.templateName;
        case ColumnField::characters:
            return optionalNumber(document.characters);
        case ColumnField::manager:
            return document.manager;
        default:
            return {};
    }
}

}  // namespace

std::string formatSize(std::uint64_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes) + " 字节";
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    unsigned __int128 unit = 1024;
    std::size_t index = 0;
    while (index + 1 < std::size(kUnits) && bytes >= 1000 * unit) {
        unit *= 1024;
        ++index;
    }
    // Hundredths of the unit, truncated; then as many decimals as keep three digits.
    auto hundredths =
        static_cast<std::uint64_t>(bytes * static_cast<unsigned __int128>(100) / unit);
    char text[32];
    if (hundredths < 1000) {
        std::snprintf(text, sizeof text, "%llu.%02llu %s",
                      static_cast<unsigned long long>(hundredths / 100),
                      static_cast<unsigned long long>(hundredths % 100), kUnits[index]);
    } else if (hundredths < 10000) {
        std::snprintf(text, sizeof text, "%llu.%llu %s",
                      static_cast<unsigned long long>(hundredths / 100),
                      static_cast<unsigned long long>(hundredths / 10 % 10), kUnits[index]);
    } else {
        std::snprintf(text, sizeof text, "%llu %s",
                      static_cast<unsigned long long>(hundredths / 100), kUnits[index]);
    }
    return text;
}

std::string formatLocalTime(std::int64_t secondsSince1970) {
    std::time_t time = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (!::localtime_r(&time, &local))
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%lld/%d/%d %d:%02d", local.tm_year + 1900LL, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::string formatDuration(std::int64_t seconds) {
    if (seconds < 0)
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string columnText(ColumnField field, const ItemFacts& item) {
    switch (field) {
        case ColumnField::name:
            return item.name;
        case ColumnField::size:
            return item.isFolder ? std::string() : formatSize(item.size);
        case ColumnField::itemType:
            return itemType(item);
        case ColumnField::modified:
            return formatLocalTime(item.modified);
        case ColumnField::created:
            return optionalTime(item.created);
        case ColumnField::accessed:
            return formatLocalTime(item.accessed);
        case ColumnField::attributes:
            return attributeLetters(item);
        case ColumnField::perceivedType:
            return item.kind ? "文档" : std::string();
        case ColumnField::kind:
            return item.kind ? kindText(*item.kind) : std::string();
        case ColumnField::owner:
            return ownerName(item.owner);
        case ColumnField::copyright:
            // Office documents have no copyright property.
            return {};
        default:
            return item.document ? documentText(field, item.kind, *item.document) : std::string();
    }
}
