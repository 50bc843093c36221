#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

// The HRESULTs the shell layer raises itself, under names that do not clash with the
// Windows headers' macros.
namespace shell_hr {
inline constexpr std::int32_t kOutOfMemory = static_cast<std::int32_t>(0x8007000EU);
inline constexpr std::int32_t kPointer = static_cast<std::int32_t>(0x80004003U);
inline constexpr std::int32_t kNotImpl = static_cast<std::int32_t>(0x80004001U);
inline constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005U);
}  // namespace shell_hr

// Extended error information offered by a failing shell object (IErrorInfo on Windows).
class ShellErrorInfo {
  public:
    virtual ~ShellErrorInfo() = default;
    virtual std::string description() const = 0;  // narrow text, may be empty
};

// The failure raised by the shell layer: the HRESULT of the failing call and, when the
// object offered it, its error information (one reference, shared by copies).
class ShellError : public std::runtime_error {
  public:
    explicit ShellError(std::int32_t hr, std::shared_ptr<const ShellErrorInfo> info = nullptr);

    std::int32_t hr() const { return m_hr; }
    const ShellErrorInfo* info() const { return m_info.get(); }
    // The HRESULT as "0x80004001".
    std::string hexCode() const;

  private:
    std::int32_t m_hr;
    std::shared_ptr<const ShellErrorInfo> m_info;
};
