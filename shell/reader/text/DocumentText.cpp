#include "DocumentText.h"

#include "DocumentFormat.h"
#include "DocxText.h"
#include "doc/DocText.h"

std::string documentFirstParagraph(ByteSource& source) {
    switch (documentFormat(source)) {
        case DocumentFormat::package:
            return docxFirstParagraph(source);
        case DocumentFormat::compoundFile:
            return docFirstParagraph(source);
        case DocumentFormat::other:
            break;
    }
    return {};
}
