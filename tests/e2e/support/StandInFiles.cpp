#include "StandInFiles.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kTableName = "stand-in-table.txt";
constexpr const char* kRecordName = "stand-in-record.txt";

}  // namespace

StandInFiles::StandInFiles()
    : m_tableVariable(stand_in::kTableVariable, m_dir.file(kTableName)),
      m_recordVariable(stand_in::kRecordVariable, m_dir.file(kRecordName)) {
    m_dir.write(kTableName);
}

void StandInFiles::heading(int column, const std::wstring& text) {
    add({stand_in::ReplyKind::Heading, L"", column, S_OK, text});
}

void StandInFiles::text(const std::wstring& file, int column, const std::wstring& text) {
    add({stand_in::ReplyKind::Text, file, column, S_OK, text});
}

void StandInFiles::nullText(const std::wstring& file, int column) {
    add({stand_in::ReplyKind::Null, file, column, S_OK, L""});
}

void StandInFiles::falseText(const std::wstring& file, int column, const std::wstring& text) {
    add({stand_in::ReplyKind::False, file, column, S_FALSE, text});
}

void StandInFiles::failure(const std::wstring& file, int column, HRESULT hr,
                           const std::wstring& description) {
    add({stand_in::ReplyKind::Fail, file, column, hr, description});
}

void StandInFiles::add(stand_in::TableLine line) {
    m_lines.push_back(std::move(line));
    std::ofstream out(m_dir.file(kTableName), std::ios::binary | std::ios::trunc);
    for (const stand_in::TableLine& each : m_lines)
        out << stand_in::formatLine(each);
}

::testing::AssertionResult StandInFiles::everyReferenceReleased() const {
    std::istringstream record(readFile(m_dir.file(kRecordName)));
    std::string line;
    long createdInAll = 0;
    while (std::getline(record, line)) {
        long created = 0, freed = 0, overReleased = 0;
        if (std::sscanf(line.c_str(), "created=%ld freed=%ld overreleased=%ld", &created, &freed,
                        &overReleased) != 3 ||
            created != freed || overReleased != 0) {
            return ::testing::AssertionFailure() << "the stand-in recorded: " << line;
        }
        createdInAll += created;
    }
    if (createdInAll == 0)
        return ::testing::AssertionFailure() << "the stand-in made no object";
    return ::testing::AssertionSuccess();
}

std::wstring wideFromAnsi(const std::string& text) {
    int length = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}
