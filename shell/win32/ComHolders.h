#pragma once

#include <oaidl.h>
#include <oleauto.h>
#include <unknwn.h>

#include <utility>

// One handle, freed exactly once by Free: when replaced, reset or destroyed.
template <typename Handle, void (*Free)(Handle)>
class OwnedHandle {
  public:
    OwnedHandle() = default;
    // Takes over a handle the caller already owns.
    explicit OwnedHandle(Handle adopted) : m_handle(adopted) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_handle = other.release();
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { reset(); }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Hands the handle to an owner that frees it itself (a VARIANT).
    Handle release() { return std::exchange(m_handle, nullptr); }
    // The out-argument of a call that hands back a new handle; frees the old one first.
    Handle* put() {
        reset();
        return &m_handle;
    }
    void reset() {
        if (m_handle)
            Free(release());
    }

  private:
    Handle m_handle = nullptr;
};

template <typename Interface>
void releaseReference(Interface* reference) {
    reference->Release();
}

inline void freeBstr(BSTR text) {
    SysFreeString(text);
}

// One counted COM reference.
template <typename Interface>
class ComRef : public OwnedHandle<Interface*, releaseReference<Interface>> {
  public:
    using OwnedHandle<Interface*, releaseReference<Interface>>::OwnedHandle;
    Interface* operator->() const { return this->get(); }
    // put() typed as COM's creation and query calls want it.
    void** putVoid() { return reinterpret_cast<void**>(this->put()); }
};

// One BSTR.
using Bstr = OwnedHandle<BSTR, freeBstr>;

// A VARIANT argument, cleared when destroyed unless clear() already did it; clear() reports
// a failing VariantClear, the destructor (reached on the way out of a failure) cannot.
class VariantArg {
  public:
    VariantArg() { VariantInit(&m_value); }
    VariantArg(const VariantArg&) = delete;
    VariantArg& operator=(const VariantArg&) = delete;
    ~VariantArg() { VariantClear(&m_value); }

    VARIANT& value() { return m_value; }
    HRESULT clear() { return VariantClear(&m_value); }

  private:
    VARIANT m_value;
};
