#include "DocumentFile.h"

#include <exception>
#include <string_view>

#include "DocxReader.h"
#include "doc/DocReader.h"

namespace {

constexpr std::string_view kZipSignature = "PK\3\4";
constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

bool startsWith(ByteSource& source, std::string_view signature) {
    std::string first;
    return source.read(0, signature.size(), first) && first == signature;
}

}  // namespace

DocumentFormat documentFormat(ByteSource& source) {
    if (startsWith(source, kZipSignature))
        return DocumentFormat::package;
    if (startsWith(source, kCompoundFileSignature))
        return DocumentFormat::compoundFile;
    return DocumentFormat::other;
}

std::optional<DocumentProperties> readDocumentFile(const std::string& path, int at,
                                                   const std::atomic<bool>* abandon,
                                                   bool* unreadable) {
    std::optional<DocumentProperties> properties;
    try {
        FileSource source(path, kDocumentTailBytes, at, abandon);
        if (source.isOpen()) {
            switch (documentFormat(source)) {
                case DocumentFormat::package:
                    properties = readDocx(source);
                    break;
                case DocumentFormat::compoundFile:
                    properties = readDoc(source);
                    break;
                case DocumentFormat::other:
                    break;
            }
        }
        if (unreadable)
            *unreadable = source.failed();
    } catch (const std::exception&) {
        // Only the file's own buffers can fail here; the readers keep their failures.
    }
    return properties;
}
