#include "NameTemplate.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "KnownColumn.h"
#include "NarrowCharacters.h"

namespace nc = narrow_characters;

namespace {

// A column number: ASCII digits only; one too long to be a column is no known one.
std::optional<int> numberIn(const std::string& text) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return text.size() > 6 ? -1 : std::stoi(text);
}

// The brackets a template may wrap a value in; a pair left holding nothing goes with it.
const std::vector<std::pair<std::string, std::string>>& bracketPairs() {
    static const std::vector<std::pair<std::string, std::string>> kPairs = [] {
        constexpr std::pair<char32_t, char32_t> kCodePoints[] = {
            {U'(', U')'},   {U'[', U']'},   {U'（', U'）'}, {U'［', U'］'},
            {U'【', U'】'}, {U'《', U'》'}, {U'〈', U'〉'}, {U'「', U'」'},
            {U'『', U'』'}, {U'〔', U'〕'}, {U'〖', U'〗'}, {U'｛', U'｝'},
        };
        std::vector<std::pair<std::string, std::string>> pairs;
        for (auto [opening, closing] : kCodePoints)
            pairs.emplace_back(nc::fromCodePoint(opening), nc::fromCodePoint(closing));
        return pairs;
    }();
    return kPairs;
}

// What the rendered stem is made of, each unit one value or one literal character.
struct Unit {
    enum class Kind {
        Anchor,     // a value given, or a letter, digit or ideograph of the literal text
        Separator,  // a blank or a punctuation mark
        Opening,    // an opening bracket of the pair numbered pair
        Closing,    // a closing bracket of the pair numbered pair
        Dropped,    // an empty value, or a bracket pair that held nothing else
    };
    Kind kind;
    std::string_view text;
    std::size_t pair = 0;
};

Unit literalUnit(std::string_view character) {
    const auto& pairs = bracketPairs();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (character == pairs[i].first)
            return {Unit::Kind::Opening, character, i};
        if (character == pairs[i].second)
            return {Unit::Kind::Closing, character, i};
    }
    bool separator = nc::isBlank(character) || nc::isPunctuation(character);
    return {separator ? Unit::Kind::Separator : Unit::Kind::Anchor, character};
}

bool holds(std::span<const Unit> units, Unit::Kind kind) {
    return std::any_of(units.begin(), units.end(),
                       [kind](const Unit& u) { return u.kind == kind; });
}

// Pairs the brackets. A pair around dropped values and separators alone is dropped whole;
// a bracket without its partner is a separator like any other mark.
void pairBrackets(std::vector<Unit>& units) {
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i].kind == Unit::Kind::Opening) {
            open.push_back(i);
            continue;
        }
        if (units[i].kind != Unit::Kind::Closing)
            continue;
        if (open.empty() || units[open.back()].pair != units[i].pair) {
            units[i].kind = Unit::Kind::Separator;
            continue;
        }
        auto pair = std::span(units).subspan(open.back(), i - open.back() + 1);
        open.pop_back();
        if (!holds(pair, Unit::Kind::Anchor) && holds(pair, Unit::Kind::Dropped)) {
            for (Unit& unit : pair)
                unit.kind = Unit::Kind::Dropped;
        }
    }
    for (std::size_t i : open)
        units[i].kind = Unit::Kind::Separator;
}

// The joint between two anchors, or at an end, as it stands once its dropped values are
// gone: unchanged when it lost nothing. Otherwise the brackets of kept pairs stay and, between
// two anchors, one run of separators: the one before the first dropped value, or the one
// before an opening bracket, which belongs to what follows.
std::string joint(std::span<const Unit> run, bool betweenAnchors) {
    auto isDropped = [](const Unit& u) { return u.kind == Unit::Kind::Dropped; };
    if (!holds(run, Unit::Kind::Dropped)) {
        std::string out;
        for (const Unit& unit : run)
            out += unit.text;
        return out;
    }
    bool opens = holds(run, Unit::Kind::Opening);
    auto firstDropped = std::find_if(run.begin(), run.end(), isDropped);
    auto afterLastDropped = std::find_if(run.rbegin(), run.rend(), isDropped).base();
    auto keptBegin = opens ? afterLastDropped : run.begin();
    auto keptEnd = opens ? run.end() : firstDropped;
    std::string closings, separators, openings;
    for (auto unit = run.begin(); unit != run.end(); ++unit) {
        if (unit->kind == Unit::Kind::Closing)
            closings += unit->text;
        else if (unit->kind == Unit::Kind::Opening)
            openings += unit->text;
        else if (unit->kind == Unit::Kind::Separator && betweenAnchors && unit >= keptBegin &&
                 unit < keptEnd)
            separators += unit->text;
    }
    return closings + separators + openings;
}

}  // namespace

std::variant<NameTemplate, std::string> NameTemplate::parse(const std::string& text) {
    NameTemplate parsed;
    parsed.m_text = text;
    std::string literal;
    std::optional<std::string> braced;  // the text since an opening brace
    for (std::string_view character : nc::split(text)) {
        if (character == "{") {
            if (braced)
                return std::string("文件名模板中的大括号不能嵌套。");
            braced.emplace();
        } else if (character == "}") {
            if (!braced)
                return std::string("文件名模板中的“}”前缺少对应的“{”。");
            std::optional<int> number = numberIn(*braced);
            if (!number)
                return "文件名模板中的 {" + *braced + "} 不是属性编号，大括号中只能写数字。";
            if (!isKnownColumn(*number))
                return "文件名模板中的 {" + *braced + "} 不是已知的属性编号。";
            if (!literal.empty())
                parsed.m_pieces.push_back({std::exchange(literal, {}), -1});
            parsed.m_pieces.push_back({{}, *number});
            parsed.m_columns.push_back(*number);
            braced.reset();
        } else {
            (braced ? *braced : literal) += character;
        }
    }
    if (braced)
        return std::string("文件名模板中的“{”缺少对应的“}”。");
    if (parsed.m_columns.empty()) {
        if (text.empty())
            return std::string("文件名模板不能为空。");
        return std::string("文件名模板中没有属性编号，例如标题为 {21}。");
    }
    if (!literal.empty())
        parsed.m_pieces.push_back({literal, -1});
    return parsed;
}

std::string NameTemplate::render(const std::function<std::string(int column)>& value) const {
    std::vector<std::string> values;
    values.reserve(m_pieces.size());
    std::vector<Unit> units;
    for (const Piece& piece : m_pieces) {
        if (piece.column < 0) {
            for (std::string_view character : nc::split(piece.literal))
                units.push_back(literalUnit(character));
            continue;
        }
        const std::string& given = values.emplace_back(value(piece.column));
        units.push_back({given.empty() ? Unit::Kind::Dropped : Unit::Kind::Anchor, given});
    }
    pairBrackets(units);
    std::string stem;
    std::span<const Unit> all(units);
    for (std::size_t i = 0; i < units.size();) {
        if (units[i].kind == Unit::Kind::Anchor) {
            stem += units[i++].text;
            continue;
        }
        std::size_t end = i;
        while (end < units.size() && units[end].kind != Unit::Kind::Anchor)
            ++end;
        stem += joint(all.subspan(i, end - i), i > 0 && end < units.size());
        i = end;
    }
    return stem;
}
