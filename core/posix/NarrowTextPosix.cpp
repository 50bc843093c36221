#include "../NarrowText.h"

namespace narrow_text {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length a lead byte announces, and the range its first continuation byte must lie in
// so that the sequence is neither overlong, nor a surrogate, nor beyond U+10FFFF.
struct LeadRule {
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

LeadRule ruleOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {1, 0, 0};
}

}  // namespace

std::string fromUtf8(const std::string& text) {
    return text;
}

std::string toUtf8(const std::string& text) {
    return text;
}

// Only a complete, valid UTF-8 sequence is one character: a lead byte without its
// continuation bytes stands alone, so the byte after it is looked at on its own.
std::size_t charLength(const std::string& text, std::size_t pos) {
    LeadRule rule = ruleOf(static_cast<unsigned char>(text[pos]));
    if (rule.length == 1 || text.size() - pos < rule.length)
        return 1;
    auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < rule.secondLow || second > rule.secondHigh)
        return 1;
    for (std::size_t next = 2; next < rule.length; ++next) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + next])))
            return 1;
    }
    return rule.length;
}

}  // namespace narrow_text
