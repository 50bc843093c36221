#include "TitleRename.h"

#include "DocumentTypes.h"
#include "FileNameRules.h"
#include "FileServices.h"
#include "NarrowText.h"

std::string extensionOf(const std::string& name) {
    std::size_t dot = narrow_text::findLastChar(name, [](char c) { return c == '.'; });
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

bool hasDocumentExtension(const std::string& name) {
    static const DocumentTypes kDefault;
    return kDefault.matches(name);
}

std::optional<std::string> titleFileName(const std::string& folder, const std::string& title,
                                         const std::string& extension) {
    return composeFileName(folder, title, "", extension, false);
}
