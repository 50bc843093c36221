#include "DocReader.h"

#include "../DocumentReading.h"
#include "CompoundFile.h"
#include "PropertySection.h"

namespace {

// A property set is a few kilobytes; past this lies only a thumbnail, which nothing reads.
constexpr std::size_t kMaxStreamBytes = 1 << 20;

// The SummaryInformation ids (PIDSI_*) and DocumentSummaryInformation ids (PIDDSI_*).
enum : std::uint32_t {
    kPidTitle = 2,
    kPidSubject = 3,
    kPidAuthor = 4,
    kPidKeywords = 5,
    kPidComments = 6,
    kPidTemplate = 7,
    kPidLastAuthor = 8,
    kPidRevision = 9,
    kPidEditTime = 10,
    kPidLastPrinted = 11,
    kPidCreated = 12,
    kPidLastSaved = 13,
    kPidPageCount = 14,
    kPidWordCount = 15,
    kPidCharCount = 16,
    kPidAppName = 18,
    kPidCategory = 2,
    kPidSlideCount = 7,
    kPidManager = 14,
    kPidCompany = 15,
};

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 (where FILETIME counts from) to 1970-01-01.
constexpr std::int64_t kEpochDifference = 11'644'473'600;

void setText(const PropertySection& section, std::uint32_t pid, std::string& field) {
    if (auto text = section.text(pid))
        field = std::move(*text);
}

std::optional<std::int64_t> secondsSince1970(const PropertySection& section, std::uint32_t pid) {
    auto ticks = section.fileTime(pid);
    // Writers store zero for a time that never happened (a document never printed).
    if (!ticks || *ticks == 0)
        return std::nullopt;
    return static_cast<std::int64_t>(*ticks / kTicksPerSecond) - kEpochDifference;
}

void readSummary(const PropertySection& section, DocumentProperties& properties) {
    setText(section, kPidTitle, properties.title);
    setText(section, kPidSubject, properties.subject);
    setText(section, kPidAuthor, properties.authors);
    setText(section, kPidKeywords, properties.keywords);
    setText(section, kPidComments, properties.comments);
    setText(section, kPidTemplate, properties.templateName);
    setText(section, kPidLastAuthor, properties.lastAuthor);
    setText(section, kPidRevision, properties.revision);
    setText(section, kPidAppName, properties.application);
    properties.pages = section.integer(kPidPageCount);
    properties.words = section.integer(kPidWordCount);
    properties.characters = section.integer(kPidCharCount);
    // PIDSI_EDITTIME is a duration held in a FILETIME.
    if (auto ticks = section.fileTime(kPidEditTime))
        properties.editingSeconds = static_cast<std::int64_t>(*ticks / kTicksPerSecond);
    properties.created = secondsSince1970(section, kPidCreated);
    properties.lastSaved = secondsSince1970(section, kPidLastSaved);
    properties.lastPrinted = secondsSince1970(section, kPidLastPrinted);
}

void readDocumentSummary(const PropertySection& section, DocumentProperties& properties) {
    setText(section, kPidCategory, properties.category);
    setText(section, kPidManager, properties.manager);
    setText(section, kPidCompany, properties.company);
    properties.slides = section.integer(kPidSlideCount);
}

std::optional<DocumentProperties> readCompoundFile(ByteSource& source) {
    auto file = CompoundFile::open(source);
    if (!file)
        return std::nullopt;
    DocumentProperties properties;
    auto summary = file->rootStream("\005SummaryInformation", kMaxStreamBytes);
    if (summary) {
        if (auto section = PropertySection::find(*summary, kSummaryInformation))
            readSummary(*section, properties);
    }
    auto documentSummary = file->rootStream("\005DocumentSummaryInformation", kMaxStreamBytes);
    if (documentSummary) {
        if (auto section = PropertySection::find(*documentSummary, kDocumentSummaryInformation))
            readDocumentSummary(*section, properties);
    }
    return properties;
}

}  // namespace

std::optional<DocumentProperties> readDoc(ByteSource& source) {
    return readWithoutThrowing(readCompoundFile, source);
}
