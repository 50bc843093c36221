#include "ShellError.h"

#include <cstdio>

namespace {

std::string hexOf(std::int32_t hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

}  // namespace

ShellError::ShellError(std::int32_t hr, std::shared_ptr<const ShellErrorInfo> info)
    : std::runtime_error("shell error " + hexOf(hr)), m_hr(hr), m_info(std::move(info)) {}

std::string ShellError::hexCode() const {
    return hexOf(m_hr);
}
