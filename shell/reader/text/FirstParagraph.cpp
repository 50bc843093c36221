#include "FirstParagraph.h"

#include "CharacterClass.h"
#include "Utf8Text.h"

namespace {

// The code point of a well-formed sequence of length bytes.
char32_t decode(std::string_view sequence) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    switch (sequence.size()) {
        case 1:
            return byte(0);
        case 2:
            return (byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
        case 3:
            return (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
        default:
            return (byte(0) & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 |
                   (byte(3) & 0x3Fu);
    }
}

std::size_t sequenceLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

void FirstParagraph::append(std::string_view utf8) {
    if (m_found)
        return;
    // Ill-formed bytes become U+FFFD first, so every sequence below is whole.
    std::string text = validUtf8(utf8);
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t length = sequenceLength(static_cast<unsigned char>(rest.front()));
        take(decode(rest.substr(0, length)));
        rest.remove_prefix(length);
    }
}

void FirstParagraph::take(char32_t c) {
    if (m_found)
        return;
    if (isLineBreak(c)) {
        lineBreak();
    } else if (isBlank(c)) {
        m_blankPending = !m_line.empty();
    } else if (!isInvisible(c)) {
        m_lineHasLetter = m_lineHasLetter || isLetter(c);
        // Past the cut only a letter still matters: it makes the line count.
        if (m_blankPending && m_line.size() < kMaxCharacters)
            m_line.push_back(U' ');
        if (m_line.size() < kMaxCharacters)
            m_line.push_back(c);
        m_blankPending = false;
    }
}

void FirstParagraph::lineBreak() {
    if (!m_found)
        endLine();
}

bool FirstParagraph::endParagraph() {
    lineBreak();
    return m_found;
}

void FirstParagraph::endLine() {
    while (!m_line.empty() && (m_line.back() == U' ' || isTrailingPunctuation(m_line.back())))
        m_line.pop_back();
    // A line whose letters lie past the cut may keep nothing: it makes no name either.
    if (m_lineHasLetter && !m_line.empty()) {
        for (char32_t c : m_line)
            appendUtf8(m_text, c);
        m_found = true;
    }
    m_line.clear();
    m_blankPending = false;
    m_lineHasLetter = false;
}
