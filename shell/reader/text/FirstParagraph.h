#pragma once

#include <string>
#include <string_view>

// Fed a document's main text in order, keeps the first line of a paragraph that holds a
// letter or ideograph, cleaned: runs of blanks one blank, trimmed, at most kMaxCharacters
// characters (never cut inside one), trailing blanks and punctuation dropped. A paragraph's
// text ends at its first line break; lines before the first one with a letter in it (a
// number, a rule of dashes) are passed over, as they would make no name.
class FirstParagraph {
  public:
    static constexpr std::size_t kMaxCharacters = 64;

    // Text of the current paragraph (UTF-8; an ill-formed sequence counts as U+FFFD).
    void append(std::string_view utf8);
    // A manual line break inside the paragraph.
    void lineBreak();
    // Ends the paragraph; true once the first qualifying paragraph is found (stop feeding).
    bool endParagraph();
    bool found() const { return m_found; }
    // The cleaned first paragraph, empty when none is found.
    std::string text() const { return m_found ? m_text : std::string(); }

  private:
    void take(char32_t c);
    // Ends the current line: its text is the result when it holds a letter.
    void endLine();

    std::u32string m_line;  // cleaned so far, at most kMaxCharacters
    bool m_blankPending = false;
    bool m_lineHasLetter = false;
    bool m_found = false;
    std::string m_text;
};
