#include "DocText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "../LittleEndian.h"
#include "CompoundFile.h"
#include "DocTextFeeder.h"
#include "PropertySection.h"

namespace {

// Word 6 and 95 write FIB versions 101 to 105, Word 97 and later ones 193 and up (192 is
// read as theirs too). Older files have another layout altogether.
constexpr std::uint16_t kFirstWord6Fib = 101;
constexpr std::uint16_t kFirstWord97Fib = 192;

constexpr std::uint16_t kFlagComplex = 0x0004;
constexpr std::uint16_t kFlagEncrypted = 0x0100;
constexpr std::uint16_t kFlagTableStream1 = 0x0200;

// The FIB's fields up to the piece table's place lie in the first kilobyte.
constexpr std::size_t kFibBytes = 1024;
// fcClx/lcbClx is the 34th pair of the Word 97 FIB's offset table.
constexpr std::size_t kClxPair = 33;
// A real piece table is a few KiB; a document fast-saved a thousand times a few hundred.
constexpr std::uint32_t kMaxClxBytes = 1u << 20;
// The main text read at most, in characters, and in parts of this many.
constexpr std::uint32_t kMaxTextCharacters = 1u << 20;
constexpr std::uint32_t kPartCharacters = 4096;
// The summary property set is a few KiB; past this lies only a thumbnail.
constexpr std::size_t kMaxSummaryBytes = 64u << 10;

constexpr std::uint8_t kClxProperties = 0x01;
constexpr std::uint8_t kClxPieceTable = 0x02;
constexpr std::size_t kPieceDescriptorBytes = 8;
constexpr std::uint32_t kCompressedBit = 0x40000000;
constexpr std::uint32_t kOffsetMask = 0x3FFFFFFF;

// A run of the main text: characters [cpStart, cpEnd) stored from byte offset of the
// WordDocument stream, one byte each in the document's code page or two in UTF-16LE.
struct Piece {
    std::uint32_t cpStart;
    std::uint32_t cpEnd;
    std::uint64_t offset;
    bool compressed;
};

// Word 97 marks an 8-bit piece in its position's bit 30 and stores it at half that
// position; Word 6/95 pieces are all 8-bit, stored where their position says.
enum class PieceCoding { word97, word6 };

// The pieces holding the first textCharacters characters, in order, or nothing when the
// piece table is not one (character positions that go back, or fields outside it).
std::optional<std::vector<Piece>> mainTextPieces(std::string_view clx, PieceCoding coding,
                                                 std::uint32_t textCharacters) {
    std::size_t at = 0;
    // Formatting of the pieces comes first; only its length matters here.
    while (at < clx.size() && static_cast<std::uint8_t>(clx[at]) == kClxProperties) {
        std::optional<std::uint16_t> length = readU16(clx, at + 1);
        if (!length)
            return std::nullopt;
        at += 3 + std::size_t{*length};
    }
    std::optional<std::uint32_t> tableBytes = readU32(clx, at + 1);
    if (at >= clx.size() || static_cast<std::uint8_t>(clx[at]) != kClxPieceTable || !tableBytes ||
        *tableBytes > clx.size() - at - 5 || *tableBytes < 4 ||
        (*tableBytes - 4) % (4 + kPieceDescriptorBytes) != 0)
        return std::nullopt;
    std::string_view table = clx.substr(at + 5, *tableBytes);
    std::size_t count = (table.size() - 4) / (4 + kPieceDescriptorBytes);
    std::size_t descriptors = 4 * (count + 1);
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t cpStart = *readU32(table, 4 * i);
        std::uint32_t cpEnd = *readU32(table, 4 * (i + 1));
        if (cpEnd < cpStart || (i == 0 && cpStart != 0))
            return std::nullopt;
        if (cpStart >= textCharacters)
            break;
        std::uint32_t fc = *readU32(table, descriptors + kPieceDescriptorBytes * i + 2);
        bool compressed = coding == PieceCoding::word6 || (fc & kCompressedBit) != 0;
        std::uint64_t offset = coding == PieceCoding::word6 ? fc
                               : compressed                 ? (fc & kOffsetMask) / 2
                                                            : fc & kOffsetMask;
        pieces.push_back({cpStart, std::min(cpEnd, textCharacters), offset, compressed});
    }
    return pieces;
}

// Feeds the pieces' characters until the first paragraph is found, the text ends or
// kMaxTextCharacters are read; false when a piece cannot be read.
bool feedPieces(CompoundFile& file, CompoundFile::Stream& stream, const std::vector<Piece>& pieces,
                DocTextFeeder& feeder) {
    std::uint32_t budget = kMaxTextCharacters;
    for (const Piece& piece : pieces) {
        std::size_t width = piece.compressed ? 1 : 2;
        for (std::uint32_t cp = piece.cpStart; cp < piece.cpEnd && budget > 0;) {
            std::uint32_t count = std::min({piece.cpEnd - cp, kPartCharacters, budget});
            std::optional<std::string> bytes = file.read(
                stream, piece.offset + std::uint64_t{cp - piece.cpStart} * width, count * width);
            if (!bytes)
                return false;
            bool done = piece.compressed ? feeder.feedBytes(*bytes) : feeder.feedUtf16(*bytes);
            if (done)
                return true;
            cp += count;
            budget -= count;
        }
        feeder.endPiece();
    }
    feeder.endText();
    return true;
}

// The first paragraph of the pieces' text, or nothing when a piece cannot be read.
std::string firstParagraph(CompoundFile& file, CompoundFile::Stream& wordDocument,
                           const std::vector<Piece>& pieces, std::uint16_t codePage) {
    DocTextFeeder feeder(codePage);
    if (!feedPieces(file, wordDocument, pieces, feeder))
        return {};
    return feeder.text();
}

// The first paragraph of the text that the piece table (clxBytes at clxAt of clxStream)
// lays out, as far as textCharacters go.
std::string pieceTableText(CompoundFile& file, CompoundFile::Stream& wordDocument,
                           CompoundFile::Stream& clxStream, std::uint32_t clxAt,
                           std::uint32_t clxBytes, PieceCoding coding, std::uint32_t textCharacters,
                           std::uint16_t codePage) {
    if (clxBytes > kMaxClxBytes)
        return {};
    std::optional<std::string> clx = file.read(clxStream, clxAt, clxBytes);
    std::optional<std::vector<Piece>> pieces;
    if (clx)
        pieces = mainTextPieces(*clx, coding, textCharacters);
    if (!pieces)
        return {};
    return firstParagraph(file, wordDocument, *pieces, codePage);
}

std::string word97Text(CompoundFile& file, CompoundFile::Stream& wordDocument, std::string_view fib,
                       std::uint16_t flags) {
    // The FIB's parts count their own lengths: 16-bit words, then 32-bit ones (the text
    // lengths), then the pairs of offsets and lengths of the other structures.
    std::uint16_t words = readU16(fib, 0x20).value_or(0);
    std::size_t longsAt = 0x22 + 2 * std::size_t{words} + 2;
    std::optional<std::uint16_t> longs = readU16(fib, longsAt - 2);
    std::optional<std::uint32_t> textCharacters = readU32(fib, longsAt + 12);
    if (!longs || *longs < 4 || !textCharacters)
        return {};
    std::size_t pairsAt = longsAt + 4 * std::size_t{*longs};
    std::optional<std::uint16_t> pairs = readU16(fib, pairsAt);
    std::optional<std::uint32_t> clxAt = readU32(fib, pairsAt + 2 + 8 * kClxPair);
    std::optional<std::uint32_t> clxBytes = readU32(fib, pairsAt + 6 + 8 * kClxPair);
    std::optional<CompoundFile::Stream> table =
        file.findRootStream((flags & kFlagTableStream1) ? "1Table" : "0Table");
    if (!pairs || *pairs <= kClxPair || !clxAt || !clxBytes || !table)
        return {};
    // 8-bit pieces hold 1252 text by the format's definition, whatever the document's
    // language: Japanese documents' curly quotes and dashes are 1252 bytes there too.
    return pieceTableText(file, wordDocument, *table, *clxAt, *clxBytes, PieceCoding::word97,
                          *textCharacters, 1252);
}

// The ANSI and East Asian code pages of Windows.
bool isWindowsCodePage(std::uint16_t codePage) {
    return codePage == 874 || codePage == 932 || codePage == 936 || codePage == 949 ||
           codePage == 950 || (codePage >= 1250 && codePage <= 1258);
}

// The Windows code page of a language (a Windows language id), as Word 6/95 stored the
// text of a document in that language.
std::uint16_t codePageOfLanguage(std::uint16_t language) {
    switch (language) {
        case 0x0804:  // Chinese (PRC)
        case 0x1004:  // Chinese (Singapore)
            return 936;
        case 0x0404:  // Chinese (Taiwan)
        case 0x0C04:  // Chinese (Hong Kong)
        case 0x1404:  // Chinese (Macao)
            return 950;
        default:
            break;
    }
    switch (language & 0x3FF) {
        case 0x11:  // Japanese
            return 932;
        case 0x12:  // Korean
            return 949;
        case 0x02:  // Bulgarian
        case 0x19:  // Russian
        case 0x22:  // Ukrainian
        case 0x23:  // Belarusian
        case 0x2F:  // Macedonian
            return 1251;
        case 0x05:  // Czech
        case 0x0E:  // Hungarian
        case 0x15:  // Polish
        case 0x18:  // Romanian
        case 0x1B:  // Slovak
        case 0x1C:  // Albanian
        case 0x24:  // Slovenian
            return 1250;
        case 0x08:  // Greek
            return 1253;
        case 0x1F:  // Turkish
            return 1254;
        case 0x0D:  // Hebrew
            return 1255;
        case 0x01:  // Arabic
        case 0x29:  // Farsi
            return 1256;
        case 0x25:  // Estonian
        case 0x26:  // Latvian
        case 0x27:  // Lithuanian
            return 1257;
        case 0x1E:  // Thai
            return 874;
        case 0x2A:  // Vietnamese
            return 1258;
        default:
            return 1252;
    }
}

// The code page a Word 6/95 document's text is in. Word of those years wrote in the
// system's code page, as it wrote the summary's, while the language often stays English
// for a text in Russian; a summary rewritten in UTF-8 by a later tool says nothing.
std::uint16_t word6CodePage(CompoundFile& file, std::uint16_t language) {
    std::optional<std::string> summary =
        file.rootStream("\005SummaryInformation", kMaxSummaryBytes);
    std::optional<PropertySection> section;
    if (summary)
        section = PropertySection::find(*summary, kSummaryInformation);
    if (section && isWindowsCodePage(section->codePage()))
        return section->codePage();
    return codePageOfLanguage(language);
}

// Word 6/95 keeps the piece table of a fast-saved document in the WordDocument stream
// itself; one saved in full holds its text in one run from fcMin.
std::string word6Text(CompoundFile& file, CompoundFile::Stream& wordDocument, std::string_view fib,
                      std::uint16_t flags) {
    std::optional<std::uint32_t> textStart = readU32(fib, 0x18);
    std::optional<std::uint32_t> textCharacters = readU32(fib, 0x34);
    if (!textStart || !textCharacters)
        return {};
    std::uint16_t codePage = word6CodePage(file, *readU16(fib, 0x06));
    if (!(flags & kFlagComplex))
        return firstParagraph(file, wordDocument, {{0, *textCharacters, *textStart, true}},
                              codePage);
    std::optional<std::uint32_t> clxAt = readU32(fib, 0x160);
    std::optional<std::uint32_t> clxBytes = readU32(fib, 0x164);
    if (!clxAt || !clxBytes)
        return {};
    return pieceTableText(file, wordDocument, wordDocument, *clxAt, *clxBytes, PieceCoding::word6,
                          *textCharacters, codePage);
}

std::string readText(ByteSource& source) {
    std::optional<CompoundFile> file = CompoundFile::open(source);
    if (!file)
        return {};
    std::optional<CompoundFile::Stream> wordDocument = file->findRootStream("WordDocument");
    if (!wordDocument)
        return {};
    std::optional<std::string> fib = file->read(
        *wordDocument, 0,
        static_cast<std::size_t>(std::min<std::uint64_t>(wordDocument->size(), kFibBytes)));
    std::optional<std::uint16_t> version, flags;
    if (fib) {
        version = readU16(*fib, 2);
        flags = readU16(*fib, 0x0A);
    }
    // An encrypted document's text is unreadable bytes.
    if (!flags || (*flags & kFlagEncrypted))
        return {};
    // The version alone tells the layout: Word 95 for some languages has its own first word.
    if (*version >= kFirstWord97Fib)
        return word97Text(*file, *wordDocument, *fib, *flags);
    if (*version >= kFirstWord6Fib)
        return word6Text(*file, *wordDocument, *fib, *flags);
    return {};
}

}  // namespace

std::string docFirstParagraph(ByteSource& source) {
    try {
        return readText(source);
    } catch (...) {
        // Out of memory included: a document the reader cannot afford has no text for it.
        return {};
    }
}
