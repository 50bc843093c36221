#pragma once

#include <functional>
#include <string>
#include <variant>
#include <vector>

// A name template: text with detail column numbers in braces, "{20} - {21}" for "authors -
// title". Narrow text, like the values put into it.
class NameTemplate {
  public:
    // The template, or the message that refuses it: an unknown column number, text in braces
    // that is no number, no number at all, a brace without its partner or inside another pair.
    static std::variant<NameTemplate, std::string> parse(const std::string& text);

    // Whether it is the rule without a template: exactly "{21}", the title.
    bool isDefault() const { return m_text == "{21}"; }
    // The numbers used, in order of appearance.
    const std::vector<int>& columns() const { return m_columns; }

    // The stem: each {N} replaced by value(N), exactly as given. An empty value drops itself,
    // and with it the separators (blanks and punctuation) that joined it to the rest, so
    // "{20} - {21}" with no author gives the title alone; a pair of brackets left holding
    // nothing goes too. Literal text holding a letter, digit or ideograph is always kept.
    std::string render(const std::function<std::string(int column)>& value) const;

  private:
    // Literal text, or a column when column >= 0.
    struct Piece {
        std::string literal;
        int column = -1;
    };

    std::string m_text;
    std::vector<Piece> m_pieces;
    std::vector<int> m_columns;
};
