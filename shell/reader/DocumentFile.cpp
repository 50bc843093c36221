#include "DocumentFile.h"

#include <exception>

#include "DocxReader.h"
#include "FileSource.h"
#include "doc/DocReader.h"
#include "text/DocumentText.h"

std::optional<DocumentProperties> readDocumentFile(const std::string& path, int at,
                                                   const std::atomic<bool>* abandon,
                                                   bool* unreadable, std::string* firstParagraph) {
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
            if (firstParagraph)
                *firstParagraph = documentFirstParagraph(source);
        }
        if (unreadable)
            *unreadable = source.failed();
    } catch (const std::exception&) {
        // Only the file's own buffers can fail here; the readers keep their failures.
    }
    return properties;
}
