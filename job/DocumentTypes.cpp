#include "DocumentTypes.h"

#include <algorithm>

#include "DocumentKind.h"
#include "NarrowText.h"
#include "TitleRename.h"

namespace {

std::string trimmed(const std::string& text) {
    constexpr const char* kBlanks = " \t";
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string knownExtensions() {
    std::string names;
    for (const DocumentKind& kind : kDocumentKinds) {
        if (!names.empty())
            names += ' ';
        names += kind.extension;
    }
    return names;
}

}  // namespace

DocumentTypes::DocumentTypes() : m_extensions{"doc", "docx"} {}

std::variant<DocumentTypes, std::string> DocumentTypes::parse(const std::string& list) {
    std::vector<std::string> extensions;
    std::string rest = narrow_text::replaceAll(list, "，", ",");
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t comma = std::min(rest.find(',', start), rest.size());
        std::string name = trimmed(rest.substr(start, comma - start));
        start = comma + 1;
        if (name.starts_with('.'))
            name.erase(0, 1);
        if (name.empty())
            continue;
        const DocumentKind* kind = findDocumentKind(name);
        if (!kind)
            return "文档类型“" + name + "”不是可读取的文档类型，可用的类型：" + knownExtensions() +
                   "。";
        if (std::find(extensions.begin(), extensions.end(), kind->extension) == extensions.end())
            extensions.emplace_back(kind->extension);
    }
    if (extensions.empty())
        return std::string("文档类型不能为空，例如 doc,docx。");
    return DocumentTypes(std::move(extensions));
}

bool DocumentTypes::matches(const std::string& name) const {
    std::string extension = extensionOf(name);
    return std::find(m_extensions.begin(), m_extensions.end(), extension) != m_extensions.end();
}

std::string DocumentTypes::text() const {
    std::string text;
    for (const std::string& extension : m_extensions) {
        if (!text.empty())
            text += ',';
        text += extension;
    }
    return text;
}
