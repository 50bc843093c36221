#pragma once

#include <string>

#include "ByteSource.h"
#include "ZipDirectory.h"

// Where an OOXML package keeps the parts a reader wants, as its own relationships
// (_rels/.rels) name them; where they name none, where packages usually keep them.
struct PackagePartNames {
    std::string core = "docProps/core.xml";
    std::string app = "docProps/app.xml";
    std::string main = "word/document.xml";  // the main document part
};

PackagePartNames packagePartNames(ByteSource& source, const ZipDirectory& zip);
