#pragma once

#include <cstdint>
#include <functional>

#include "ShellError.h"

// The HRESULT a call raised, or 0 when it raised nothing.
inline std::int32_t raisedHr(const std::function<void()>& call) {
    try {
        call();
    } catch (const ShellError& error) {
        return error.hr();
    }
    return 0;
}
