#include "CsvOutput.h"

#include "CsvLine.h"

std::optional<FileFault> CsvOutput::open(const std::string& path, const OutputRefusal& refused) {
    return m_file.open(path, refused);
}

std::optional<FileFault> CsvOutput::addRow(const std::vector<std::string>& fields) {
    m_pendingLines += csvLine(fields);
    m_pendingLines += "\r\n";
    if (m_pendingLines.size() < kLineBlockBytes)
        return std::nullopt;
    return writeRows();
}

std::optional<FileFault> CsvOutput::writeRows() {
    if (m_pendingLines.empty())
        return std::nullopt;
    std::optional<FileFault> fault = m_file.writeLine(m_pendingLines);
    m_pendingLines.clear();
    return fault;
}

std::optional<FileFault> CsvOutput::finish() {
    std::optional<FileFault> fault = writeRows();
    std::optional<FileFault> closed = m_file.finish();
    return fault ? fault : closed;
}
