#include "ShellAccess.h"

namespace {

template <typename Reference>
void releaseOrRaise(std::unique_ptr<Reference>& reference) {
    if (!reference)
        throw ShellError(shell_hr::kPointer);
    reference.reset();
}

}  // namespace

void ShellAccess::connectShell() {
    m_shell.reset();
    m_shell = m_backend.connect();
}

void ShellAccess::openFolder(const std::string& path) {
    if (!m_shell)
        throw ShellError(shell_hr::kPointer);
    m_folder = m_shell->nameSpace(path);
}

void ShellAccess::expectItems(const std::string& folder, const std::vector<std::string>& names,
                              bool withText) {
    if (!m_shell)
        throw ShellError(shell_hr::kPointer);
    m_shell->expectItems(folder, names, withText);
}

void ShellAccess::findItem(const std::string& name) {
    if (!m_folder)
        throw ShellError(shell_hr::kPointer);
    m_item = m_folder->parseName(name);
}

std::string ShellAccess::itemDetail(int column, TextForm form) {
    if (!m_folder || !m_item)
        throw ShellError(shell_hr::kPointer);
    return form == TextForm::Utf8 ? m_folder->itemDetailUtf8(*m_item, column)
                                  : m_folder->itemDetail(*m_item, column);
}

std::string ShellAccess::itemText() {
    if (!m_folder || !m_item)
        throw ShellError(shell_hr::kPointer);
    return m_folder->itemText(*m_item);
}

std::string ShellAccess::columnHeading(int column, TextForm form) {
    if (!m_folder)
        throw ShellError(shell_hr::kPointer);
    return form == TextForm::Utf8 ? m_folder->columnHeadingUtf8(column)
                                  : m_folder->columnHeading(column);
}

bool ShellAccess::itemUnreadable() {
    if (!m_folder || !m_item)
        throw ShellError(shell_hr::kPointer);
    return m_folder->itemUnreadable(*m_item);
}

void ShellAccess::releaseItem() {
    releaseOrRaise(m_item);
}

void ShellAccess::releaseFolder() {
    releaseOrRaise(m_folder);
}

void ShellAccess::releaseShell() {
    releaseOrRaise(m_shell);
}
