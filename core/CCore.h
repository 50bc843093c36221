#pragma once

#include <cstdint>
#include <string>

// Owner of a modal box: an HWND on Windows, a QWidget* on Linux.
using OwnerWindow = void*;

// The core services: configuration store, small file and path services, standard boxes
// and text conversions. The object has no data of its own; every member may be called on
// the job's thread while the dialog's thread is in another one.
//
// Narrow strings are in the system's ANSI code page on Windows (GBK on Simplified Chinese
// systems) and UTF-8 on Linux.
class CCore {
  public:
    CCore() = default;

    // Prepares the configuration store (creates its folder). Call once before the
    // configuration members.
    void autoFileConfig();

    // The folder of the program's own files (the _propids.txt reference), ending with a path
    // separator: the folder the program runs from. On Windows, when that folder takes no new
    // files and holds no reference yet (Program Files), the user's folder of the program
    // instead (%APPDATA%\Tarnel\), created if missing. On Linux, an installed program's data
    // folder (<prefix>/share/tarnel/) when the reference stands there and not beside it.
    std::string getAppPath();

    // Stored values; empty text and 0 when never stored or when the store is unreadable.
    std::string getConfigStr(const char* key);
    std::int32_t getConfigB(const char* key);
    // Each save replaces the whole store atomically: a crash leaves the old or the new file.
    void saveConfigStr(const char* key, std::string text);
    void saveConfigB(const char* key, std::int32_t value);

    // Nonzero when the path names an existing folder; zero for empty text.
    int isPathExist(std::string path);
    // Nonzero when the path names an existing file (not a folder).
    int isFileExist(std::string path);
    // The same folder, ending with a path separator; empty text stays empty.
    std::string parsePath(std::string path);
    // With create nonzero, creates the file when it is missing; never truncates it.
    void createFile(std::string path, int create);

    // The platform's save-file chooser offering the given name: the chosen path, or empty
    // text on cancel.
    std::string fileTxtSave(std::string offeredName);
    // Opens the file in its associated program and returns at once.
    void openUrl(std::string path);
    // A modal warning box owned by the given window; returns when dismissed.
    void msgboxWarning(OwnerWindow owner, std::string text);

    std::string getStrInt(std::int32_t value);
    // Field number index (from 0) of text split at separator; empty for an empty field or
    // an index past the last field. Blanks are kept.
    std::string getFg(std::string text, char separator, int index);
};
