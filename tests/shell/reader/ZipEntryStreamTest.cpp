#include "ZipEntryStream.h"

#include <gtest/gtest.h>

#include <random>

#include "DocxFixture.h"
#include "TempDir.h"

namespace {

// The entry's content as the stream gives it, or "(failed)".
std::string streamed(ByteSource& source, const ZipDirectory::Entry& entry) {
    ZipEntryStream stream(source, entry);
    std::string content;
    for (;;) {
        std::optional<std::string_view> piece = stream.next();
        if (!piece)
            return "(failed)";
        if (piece->empty())
            return content;
        content.append(*piece);
    }
}

}  // namespace

// Pieces joined are the content, deflated or stored; a content other than the directory
// says (its CRC, its size) fails at the end.
TEST(ZipEntryStream, givesTheContentInPiecesAndChecksItAtTheEnd) {
    std::mt19937 random(3);
    std::string content;
    for (int i = 0; i < 300000; ++i)
        content += static_cast<char>('a' + random() % 8);
    TempDir dir;
    writeZip(dir.file("a.zip"), {{"deflated", content, true}, {"stored", content, false}});
    std::string bytes = readFile(dir.file("a.zip"));
    MemorySource source(bytes.data(), bytes.size());
    std::optional<ZipDirectory> zip = ZipDirectory::read(source);
    ASSERT_TRUE(zip);
    for (const char* name : {"deflated", "stored"}) {
        ZipDirectory::Entry entry = *zip->find(name);
        EXPECT_TRUE(streamed(source, entry) == content) << name;
        ZipDirectory::Entry wrongCrc = entry;
        wrongCrc.crc ^= 1;
        EXPECT_TRUE(streamed(source, wrongCrc) == "(failed)") << name;
        ZipDirectory::Entry shorter = entry;
        shorter.size -= 1;
        shorter.compressedSize -= shorter.method == ZipDirectory::kStored;
        EXPECT_TRUE(streamed(source, shorter) == "(failed)") << name;
    }
}
