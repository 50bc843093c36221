#pragma once

#include <string>
#include <variant>
#include <vector>

// The document kinds a job takes, as the extensions of their files: "doc,docx" unless the
// user lists others from the kinds the job knows (DocumentKind.h).
class DocumentTypes {
  public:
    // doc and docx.
    DocumentTypes();

    // The kinds of a list such as "doc, .DOCX，xls": names between commas (full-width ones
    // too), blanks around each and a leading dot dropped, any case, repeats and empty fields
    // passed over. Or the message that refuses it: an extension of no kind the job knows, or
    // no extension at all.
    static std::variant<DocumentTypes, std::string> parse(const std::string& list);

    // Whether the job takes a file of that name: its extension (extensionOf) is exactly one of
    // the list's in lower case, the way the job has always compared (a ".DOCX" is not taken).
    bool matches(const std::string& name) const;

    // The list as the settings keep it, "doc,docx".
    std::string text() const;

  private:
    explicit DocumentTypes(std::vector<std::string> extensions)
        : m_extensions(std::move(extensions)) {}

    std::vector<std::string> m_extensions;  // lower case, without the dot, each once
};
