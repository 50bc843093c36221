#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../text/FirstParagraph.h"

// Turns a .doc's main text, fed in order as stored (8-bit pieces in a code page, 16-bit ones
// in UTF-16LE), into paragraphs for FirstParagraph: paragraph, cell and page marks end a
// paragraph, a field's instruction is left out and its result kept, tabs become blanks and
// the other special characters (pictures, drawn objects, note references) vanish.
class DocTextFeeder {
  public:
    explicit DocTextFeeder(std::uint16_t codePage) : m_codePage(codePage) {}

    // Each returns true once the first paragraph is found: feed no more.
    bool feedBytes(std::string_view bytes);
    bool feedUtf16(std::string_view bytes);
    // A piece ends: a character is never split across pieces.
    void endPiece();
    // The main text ends, and with it its last paragraph.
    void endText();

    std::string text() const { return m_paragraph.text(); }

  private:
    // Acts on a character below U+0020; true once the first paragraph is found.
    bool special(char16_t character);
    // Hands the characters gathered so far to the paragraph.
    void flush();
    bool inInstruction() const { return m_instructionFields > 0; }

    FirstParagraph m_paragraph;
    std::uint16_t m_codePage;
    std::string m_bytes;  // in m_codePage, converted at the next flush
    std::string m_utf8;
    char16_t m_highSurrogate = 0;
    // Per open field, innermost last: whether it is still in its instruction.
    std::vector<bool> m_fields;
    std::size_t m_instructionFields = 0;
};
