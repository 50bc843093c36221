#include "IniStore.h"

#include <cstdio>

namespace ini_store {
namespace {

constexpr const char* kSection = "[Tarnel]";

void appendEscaped(std::string& out, const std::string& value) {
    for (unsigned char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    out += hex;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isCommentStart(char c) {
    return c == ';' || c == '#';
}

// A value as a person writes it, unquoted: the rest of the line, trimmed, taken literally.
// A ';' in it is part of the value, as the system's profile API reads such a line: a folder
// name or a list of property numbers may hold one, so a comment needs a line of its own.
// Backslashes are literal: D:\docs stays D:\docs, and a GBK character whose second byte is
// 0x5C stays whole. Quotes around a value that does not read with our escapes ("D:\docs")
// are dropped, as that API drops them.
std::string literalValue(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

// The value of a key=value line from the text after '=': quoted with our escapes when it
// reads so (a comment may follow it), else literal.
std::string readValue(const std::string& afterEquals) {
    std::string text = trimmed(afterEquals);
    if (!text.empty() && text.front() == '"') {
        std::string value;
        std::optional<std::size_t> end = readQuoted(text, 0, value);
        if (end) {
            std::size_t next = text.find_first_not_of(" \t", *end);
            if (next == std::string::npos || isCommentStart(text[next]))
                return value;
        }
    }
    return literalValue(text);
}

}  // namespace

std::string quoted(const std::string& value) {
    std::string out = "\"";
    appendEscaped(out, value);
    out += '"';
    return out;
}

std::optional<std::size_t> readQuoted(const std::string& line, std::size_t pos,
                                      std::string& value) {
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"')
            return i + 1;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        switch (line[i]) {
            case '\\':
                value += '\\';
                break;
            case '"':
                value += '"';
                break;
            case 'r':
                value += '\r';
                break;
            case 'n':
                value += '\n';
                break;
            case 't':
                value += '\t';
                break;
            case 'x': {
                if (i + 2 >= line.size())
                    return std::nullopt;
                int high = hexDigit(line[i + 1]), low = hexDigit(line[i + 2]);
                if (high < 0 || low < 0)
                    return std::nullopt;
                value += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string format(const Entries& entries) {
    std::string out = kSection;
    out += "\r\n";
    for (const auto& [key, value] : entries) {
        out += key;
        out += "=";
        out += quoted(value);
        out += "\r\n";
    }
    return out;
}

Entries parse(const std::string& text) {
    Entries entries;
    bool inSection = false;
    std::size_t start = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();

        std::string bare = trimmed(line);
        if (bare.empty() || isCommentStart(bare[0]))
            continue;
        if (bare[0] == '[') {
            inSection = bare == kSection;
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        std::string key = trimmed(line.substr(0, equals));
        if (key.empty())
            continue;
        entries[key] = readValue(line.substr(equals + 1));
    }
    return entries;
}

}  // namespace ini_store
