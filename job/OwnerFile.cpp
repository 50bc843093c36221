#include "OwnerFile.h"

#include <optional>

#include "FileServices.h"
#include "OutputGuard.h"

bool isOwnerFile(const std::string& folder, const std::string& name) {
    if (!name.starts_with("~$"))
        return false;
    // One byte beyond the limit tells a file that is larger.
    std::optional<std::string> head = readFileHead(folder + name, kOwnerFileBytes + 1);
    return head && head->size() <= kOwnerFileBytes && !hasDocumentSignature(*head);
}
