#pragma once

#include "ByteSource.h"

// What a file's first bytes say it is, whatever its name: a zip package (.docx, and the
// .doc files some programs write as packages) or an OLE2 compound file (.doc).
enum class DocumentFormat { package, compoundFile, other };

DocumentFormat documentFormat(ByteSource& source);
