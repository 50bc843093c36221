#pragma once

#include <shldisp.h>
#include <windows.h>

#include <memory>
#include <string>

#include "ComHolders.h"
#include "ShellBackend.h"

// The Windows backend: the shell's automation objects reached through COM. Each object
// holds one reference to its interface and releases it when destroyed.

class ComItem : public ShellItemObject {
  public:
    ComItem(ComRef<FolderItem> item, std::string name)
        : m_item(std::move(item)), m_name(std::move(name)) {}
    FolderItem* get() const { return m_item.get(); }
    // The file name it was found by.
    const std::string& name() const { return m_name; }

  private:
    ComRef<FolderItem> m_item;
    std::string m_name;
};

class ComFolder : public ShellFolderObject {
  public:
    ComFolder(ComRef<Folder> folder, const std::string& path);

    std::unique_ptr<ShellItemObject> parseName(const std::string& name) override;
    // Items come only from this backend's parseName.
    std::string itemDetail(ShellItemObject& item, int column) override;
    std::string columnHeading(int column) override;
    std::string itemDetailUtf8(ShellItemObject& item, int column) override;
    std::string columnHeadingUtf8(int column) override;
    bool itemUnreadable(ShellItemObject& item) override;
    // The shell has no text of a document: the project's own reader reads it from the file.
    std::string itemText(ShellItemObject& item) override;

  private:
    // Folder::GetDetailsOf with that argument, which is cleared before the text is returned.
    Bstr detailsOf(VariantArg& argument, int column);
    // The shell's texts of an item's detail and of a column's heading.
    Bstr itemDetails(ShellItemObject& item, int column);
    Bstr headingDetails(int column);

    ComRef<Folder> m_folder;
    std::string m_prefix;  // the folder's path as it was opened, ending with a separator
};

class ComShell : public ShellObject {
  public:
    explicit ComShell(ComRef<IShellDispatch> shell) : m_shell(std::move(shell)) {}
    std::unique_ptr<ShellFolderObject> nameSpace(const std::string& path) override;

  private:
    ComRef<IShellDispatch> m_shell;
};

class ComShellBackend : public ShellBackend {
  public:
    void enterThread() override;
    void leaveThread() override;
    std::unique_ptr<ShellObject> connect() override;
};
