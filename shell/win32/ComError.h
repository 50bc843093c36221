#pragma once

#include <unknwn.h>

#include "ShellError.h"

// Raises ShellError for a failed call of that object's interface, with the object's error
// information attached when it offers it for that interface.
[[noreturn]] void raiseComFailure(HRESULT hr, IUnknown* object, REFIID interfaceId);

// Raises ShellError, with no error information, for a failed call that has no object to
// ask (a VariantClear).
inline void raiseIfFailed(HRESULT hr) {
    if (FAILED(hr))
        throw ShellError(static_cast<std::int32_t>(hr));
}
