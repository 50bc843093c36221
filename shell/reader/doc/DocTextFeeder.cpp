#include "DocTextFeeder.h"

#include "../LittleEndian.h"
#include "../Utf8Text.h"
#include "CodePageText.h"

namespace {

enum : char16_t {
    kCellMark = 0x07,
    kTab = 0x09,
    kLineBreak = 0x0B,
    kPageBreak = 0x0C,
    kParagraphMark = 0x0D,
    kFieldBegin = 0x13,
    kFieldSeparator = 0x14,
    kFieldEnd = 0x15,
    kNonBreakingHyphen = 0x1E,
    kFirstOrdinary = 0x20,
};

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

}  // namespace

bool DocTextFeeder::feedBytes(std::string_view bytes) {
    for (char byte : bytes) {
        auto unit = static_cast<unsigned char>(byte);
        if (unit < kFirstOrdinary) {
            if (special(unit))
                return true;
        } else if (!inInstruction()) {
            m_bytes += byte;
        }
    }
    return false;
}

bool DocTextFeeder::feedUtf16(std::string_view bytes) {
    for (std::size_t at = 0; at + 2 <= bytes.size(); at += 2) {
        auto unit = static_cast<char16_t>(*readU16(bytes, at));
        if (unit < kFirstOrdinary) {
            if (special(unit))
                return true;
            continue;
        }
        if (inInstruction())
            continue;
        if (m_highSurrogate && isLowSurrogate(unit)) {
            appendUtf8(m_utf8,
                       0x10000 + ((char32_t{m_highSurrogate} - 0xD800) << 10) + (unit - 0xDC00));
            m_highSurrogate = 0;
            continue;
        }
        if (m_highSurrogate)
            appendUtf8(m_utf8, 0xFFFD);
        m_highSurrogate = 0;
        if (isHighSurrogate(unit))
            m_highSurrogate = unit;
        else
            appendUtf8(m_utf8, unit);
    }
    return false;
}

void DocTextFeeder::endPiece() {
    flush();
}

void DocTextFeeder::endText() {
    flush();
    m_paragraph.endParagraph();
}

void DocTextFeeder::flush() {
    if (!m_bytes.empty()) {
        m_utf8 += codePageToUtf8(m_bytes, m_codePage);
        m_bytes.clear();
    }
    if (m_highSurrogate) {
        // A lone high surrogate (appendUtf8 gives U+FFFD).
        appendUtf8(m_utf8, m_highSurrogate);
        m_highSurrogate = 0;
    }
    if (!m_utf8.empty()) {
        m_paragraph.append(m_utf8);
        m_utf8.clear();
    }
}

bool DocTextFeeder::special(char16_t character) {
    flush();
    switch (character) {
        case kParagraphMark:
        case kCellMark:
        case kPageBreak:
            return m_paragraph.endParagraph();
        case kLineBreak:
            if (!inInstruction())
                m_paragraph.lineBreak();
            break;
        case kTab:
            if (!inInstruction())
                m_paragraph.append(" ");
            break;
        case kNonBreakingHyphen:
            if (!inInstruction())
                m_paragraph.append("-");
            break;
        case kFieldBegin:
            m_fields.push_back(true);
            ++m_instructionFields;
            break;
        case kFieldSeparator:
            if (!m_fields.empty() && m_fields.back()) {
                m_fields.back() = false;
                --m_instructionFields;
            }
            break;
        case kFieldEnd:
            if (!m_fields.empty()) {
                m_instructionFields -= m_fields.back() ? 1 : 0;
                m_fields.pop_back();
            }
            break;
        default:
            // Optional hyphens, pictures, drawn objects, note and comment references.
            break;
    }
    return false;
}
