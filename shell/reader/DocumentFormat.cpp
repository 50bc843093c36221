#include "DocumentFormat.h"

#include <string>
#include <string_view>

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
