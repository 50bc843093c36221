#include "WorkbookOutput.h"

#include <variant>

#include "PathSeparator.h"

std::string ownerFilePath(const std::string& path) {
    std::size_t nameStart = fileNameStart(path);
    return path.substr(0, nameStart) + "~$" + path.substr(nameStart);
}

WorkbookOutput::~WorkbookOutput() {
    discard();
}

std::optional<FileFault> WorkbookOutput::open(const std::string& path,
                                              const OutputRefusal& refused) {
    if (fileIdentity(ownerFilePath(path)))
        return FileFault::OwnerFile;
    if (std::optional<FileFault> fault = m_held.hold(path, refused))
        return fault;
    std::variant<std::string, FileFault> beside = createFileBeside(path);
    if (const FileFault* fault = std::get_if<FileFault>(&beside)) {
        m_held.close();
        return *fault;
    }
    m_path = path;
    m_temporary = std::get<std::string>(std::move(beside));
    if (!m_writer.open(m_temporary)) {
        discard();
        return FileFault::WorkbookNotWritten;
    }
    return std::nullopt;
}

std::optional<FileFault> WorkbookOutput::addRow(const std::vector<std::string>& fields) {
    return m_writer.addRow(fields);
}

std::optional<FileFault> WorkbookOutput::finish() {
    std::optional<FileFault> fault = m_writer.close();
    // Windows replaces no file that is open, the held one included.
    m_held.close();
    if (!fault)
        fault = replaceFile(m_temporary, m_path);
    if (fault)
        discard();
    m_temporary.clear();
    return fault;
}

void WorkbookOutput::discard() {
    if (m_temporary.empty())
        return;
    // A workbook still open is written out before its file can go.
    if (m_writer.isOpen())
        m_writer.close();
    m_held.close();
    removeFile(m_temporary);
    m_temporary.clear();
}
