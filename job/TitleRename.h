#pragma once

#include <optional>
#include <string>

#include "FileServices.h"

// Renaming a document to its title. The title comes from the document, so it is hostile
// input: it is used only when title + "." + extension is one valid file name in the same
// folder, the same rules on every platform, and the rename never replaces a file.

// How a document's rename to its title ended, or would end in a preview.
enum class RenameOutcome {
    Renamed,
    EmptyTitle,     // the document has no title
    AlreadyTitled,  // its name is already its title's
    InvalidName,    // the title makes no valid file name
    NameTaken,      // a file of that name exists
    SameTitle,      // another document of this job took that name
    MoveFailed,     // the move failed otherwise (open elsewhere, no permission)
    Unsupported,    // the file system cannot rename without the risk of replacing
    NoJournal,      // the journal could not be written, so nothing more is renamed
    NotUndoable,    // its name or a subfolder on its way holds a backslash, which no
                    // journal takes back on Linux
};

// The extension of a file name: the text after its last "."; a name without "." is its
// own extension, and a name ending in "." has an empty one.
std::string extensionOf(const std::string& name);
// Whether the job takes a file of that name for a document by the default kinds
// (DocumentTypes): its extension is exactly "doc" or "docx" (a ".DOCX" is not taken).
bool hasDocumentExtension(const std::string& name);

// title + "." + extension when that is a valid single file name within the folder's name
// limits (FileNameRules.h), else nothing: the rename a user gets without options.
std::optional<std::string> titleFileName(const std::string& folder, const std::string& title,
                                         const std::string& extension);
