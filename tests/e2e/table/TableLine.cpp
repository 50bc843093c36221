#include "TableLine.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace stand_in {
namespace {

constexpr std::array<std::pair<ReplyKind, const char*>, 5> kKindNames{{
    {ReplyKind::Heading, "heading"},
    {ReplyKind::Text, "text"},
    {ReplyKind::Null, "null"},
    {ReplyKind::False, "false"},
    {ReplyKind::Fail, "fail"},
}};

std::string escaped(std::wstring_view text) {
    std::string out;
    for (char c : utf8FromWide(text)) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            default:
                out += text[i];
        }
    }
    return wideFromUtf8(out);
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> parts;
    for (;;) {
        std::size_t tab = line.find('\t');
        parts.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return parts;
        line.remove_prefix(tab + 1);
    }
}

}  // namespace

std::string formatLine(const TableLine& line) {
    const char* kind = "";
    for (const auto& [value, name] : kKindNames) {
        if (value == line.kind)
            kind = name;
    }
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "\t%d\t%08lX\t", line.column,
                  static_cast<unsigned long>(line.hr));
    return kind + ("\t" + escaped(line.file)) + numbers + escaped(line.text) + "\n";
}

std::optional<TableLine> parseLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::vector<std::string_view> parts = fields(line);
    if (parts.size() != 5)
        return std::nullopt;
    TableLine parsed;
    bool known = false;
    for (const auto& [value, name] : kKindNames) {
        if (parts[0] == name) {
            parsed.kind = value;
            known = true;
        }
    }
    if (!known)
        return std::nullopt;
    parsed.file = unescaped(parts[1]);
    parsed.column = std::atoi(std::string(parts[2]).c_str());
    parsed.hr = static_cast<HRESULT>(std::strtoul(std::string(parts[3]).c_str(), nullptr, 16));
    parsed.text = unescaped(parts[4]);
    return parsed;
}

std::string utf8FromWide(std::wstring_view text) {
    int length = static_cast<int>(text.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
    return out;
}

std::wstring wideFromUtf8(std::string_view text) {
    int length = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), needed);
    return out;
}

}  // namespace stand_in
