#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileServices.h"

// What the output file must never be: a document. The CSV written over one would destroy
// it, so a file that begins as a document does, or that is one of the documents the job
// lists (the same file under its own name, a hard link or a symbolic link), is refused.

// True when head begins with the signature of a zip package (.docx and the other Office
// Open XML files) or of a compound file (.doc and the older Office files).
bool hasDocumentSignature(std::string_view head);

// True when a is the file b, whatever their sizes and times say.
bool sameFile(const std::optional<FileIdentity>& a, const FileIdentity& b);

// The refusal the job hands to OutputFile::open. A workbook output may replace a zip
// package (an earlier workbook), unless it is one of the documents. The documents are looked at
// only when the output could be one of them: it lies in the folder, has more than one name, or is
// reached through a link; else three look-ups decide.
OutputRefusal documentRefusal(std::string outputPath, std::string folder,
                              std::vector<std::string> documents);

// The folder the output's path puts it in, as the file system finds it, and its name there;
// nothing for a path without a name or whose folder is not found.
struct OutputPlace {
    FileIdentity folder;
    std::string name;
};
std::optional<OutputPlace> outputPlace(const std::string& path);

// The output's name when it lies directly in folder (which ends with a separator), as the
// file system finds the two folders: the same one whatever the spelling.
std::optional<std::string> nameInFolder(const std::string& path, const std::string& folder);
