#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ShellBackend.h"
#include "ShellError.h"

// The document title's detail column.
inline constexpr int TITLE_COLUMN = 21;

// How the shell's texts are handed on: in the system's narrow code page (the CSV) or in
// UTF-8 (a workbook, which keeps every character).
enum class TextForm { Narrow, Utf8 };

// The shell layer as the job sees it: one shell connection, one folder and the current
// item, each an explicit reference that is released once. Every operation raises
// ShellError{E_POINTER} when the reference it needs is empty. Job thread only.
class ShellAccess {
  public:
    explicit ShellAccess(ShellBackend& backend) : m_backend(backend) {}
    ShellAccess(const ShellAccess&) = delete;
    ShellAccess& operator=(const ShellAccess&) = delete;

    // Releases any connection still held, then connects; a failure leaves it empty.
    void connectShell();
    void openFolder(const std::string& path);
    // The names findItem will be called with in the folder of that path, in that order, after
    // those told before, possibly before that folder is opened (a hint for the backend);
    // withText: itemText will be asked for them.
    void expectItems(const std::string& folder, const std::vector<std::string>& names,
                     bool withText);
    void findItem(const std::string& name);
    std::string itemDetail(int column, TextForm form = TextForm::Narrow);
    // The first paragraph of the item's text (ShellFolderObject::itemText).
    std::string itemText();
    std::string columnHeading(int column, TextForm form = TextForm::Narrow);
    bool itemUnreadable();
    void releaseItem();
    void releaseFolder();
    void releaseShell();

    bool hasShell() const { return m_shell != nullptr; }
    bool hasFolder() const { return m_folder != nullptr; }
    bool hasItem() const { return m_item != nullptr; }

  private:
    ShellBackend& m_backend;
    // Declared so that destruction releases the item, then the folder, then the shell.
    std::unique_ptr<ShellObject> m_shell;
    std::unique_ptr<ShellFolderObject> m_folder;
    std::unique_ptr<ShellItemObject> m_item;
};
