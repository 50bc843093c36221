#pragma once

#include <memory>
#include <string>
#include <vector>

// What a shell backend provides: the Windows shell's COM objects, the document reader that
// stands in for it on Linux, or a test shell. All objects live on the job's thread.
//
// A backend answers "no object" with nullptr (the shell's answer for a path it cannot open
// or a name it does not find) and raises ShellError for a failing call.

// One item of a folder (FolderItem).
class ShellItemObject {
  public:
    virtual ~ShellItemObject() = default;
};

// One open folder (Folder).
class ShellFolderObject {
  public:
    virtual ~ShellFolderObject() = default;
    // Folder::ParseName: the item of that file name, or nullptr.
    virtual std::unique_ptr<ShellItemObject> parseName(const std::string& name) = 0;
    // Folder::GetDetailsOf for an item; the column is passed on unchanged.
    virtual std::string itemDetail(ShellItemObject& item, int column) = 0;
    // The first paragraph of the item's main text that holds a letter or ideograph, cleaned
    // (see FirstParagraph); empty when there is none, for a document that is no
    // word-processing document, or when it cannot be read. Same encoding as itemDetail (UTF-8
    // on Linux, the system code page on Windows).
    virtual std::string itemText(ShellItemObject& item) {
        (void)item;
        return {};
    }
    // Folder::GetDetailsOf with an empty string: the column's heading.
    virtual std::string columnHeading(int column) = 0;
    // itemDetail and columnHeading in UTF-8 with every character whole. Narrow texts are
    // UTF-8 on Linux; the Windows shell converts its UTF-16 texts without the code page.
    virtual std::string itemDetailUtf8(ShellItemObject& item, int column) {
        return itemDetail(item, column);
    }
    virtual std::string columnHeadingUtf8(int column) { return columnHeading(column); }
    // Whether the item's file could not be opened or read (denied, an I/O error, held by
    // another program): its details are then blank as for a document without properties.
    virtual bool itemUnreadable(ShellItemObject& item) {
        (void)item;
        return false;
    }
};

// The shell connection (IShellDispatch).
class ShellObject {
  public:
    virtual ~ShellObject() = default;
    // IShellDispatch::NameSpace: the folder of that path, or nullptr.
    virtual std::unique_ptr<ShellFolderObject> nameSpace(const std::string& path) = 0;
    // The names parseName will be asked for in the folder of that path (as nameSpace takes
    // it), in that order, after those told before; told before the first, and possibly
    // before the folder is opened. A backend may read them ahead. Answers stay those of each
    // name at its turn, and a name not asked for (the rest of a folder the job left) is
    // passed over. withText: the job will ask itemText for them, so a backend reading ahead
    // reads the text too.
    virtual void expectItems(const std::string& folder, const std::vector<std::string>& names,
                             bool withText) {
        (void)folder;
        (void)names;
        (void)withText;
    }
};

class ShellBackend {
  public:
    ShellBackend() = default;
    ShellBackend(const ShellBackend&) = delete;
    ShellBackend& operator=(const ShellBackend&) = delete;
    virtual ~ShellBackend() = default;

    // Called on the job's thread before the first and after the last shell call
    // (CoInitialize / CoUninitialize on Windows).
    virtual void enterThread() {}
    virtual void leaveThread() {}

    // Connect shell: the connection, or nullptr when any step fails. Never raises.
    virtual std::unique_ptr<ShellObject> connect() = 0;
};

// The backend of this platform: the shell's COM objects on Windows, the document reader
// on Linux.
std::unique_ptr<ShellBackend> makeNativeShellBackend();
