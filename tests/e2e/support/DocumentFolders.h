#pragma once

#include <map>
#include <string>
#include <vector>

#include "StandInFiles.h"
#include "TempDir.h"

// The names of a folder's entries in the order the file search yields them, which is the
// order a job meets them in.
std::vector<std::string> listingOrder(const std::string& folder);

// A folder's regular files by name with their content, and its subfolders as "<folder>".
std::map<std::string, std::string> folderContent(const std::string& folder);

// Documents with Chinese (GBK) names and titles, and entries the job skips (a subfolder
// named like a document, .DOCX, .docx.bak), with the stand-in's answers for them all:
// texts that need quoting, a formula and a plain number, an S_FALSE answer, a NULL text,
// direction marks, characters GBK lacks, and hostile titles (a path out of the folder, the name of
// an existing file, a character no file name may hold). Every file holds its own first name.
class TitledDocuments {
  public:
    // The columns the CSV asks for, after the full name.
    static constexpr const char* kColumns = "0,21,24";

    explicit TitledDocuments(StandInFiles& shell);

    const std::string& path() const { return m_folder.path(); }
    int documentCount() const;
    // The CSV of a job with the full name and kColumns, in GBK.
    std::string expectedCsv() const;
    // The folder's content once every document whose title is a sound name has it.
    std::map<std::string, std::string> expectedContent() const;

  private:
    TempDir m_folder;
    std::vector<std::string> m_order;
};

// Three documents whose second in listing order fails its title with kFailure and the
// description "文档被锁定"; the others have titles.
class FailingDocuments {
  public:
    static constexpr HRESULT kFailure = static_cast<HRESULT>(0x80030005);
    static constexpr const char* kColumns = "0,21";

    explicit FailingDocuments(StandInFiles& shell);

    const std::string& path() const { return m_folder.path(); }
    const std::string& failing() const { return m_order[1]; }
    // The CSV of a job with kColumns, without the full name: the heading and the first
    // document's line.
    std::string expectedCsv() const;

  private:
    TempDir m_folder;
    std::vector<std::string> m_order;
};
