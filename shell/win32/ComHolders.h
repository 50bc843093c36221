#pragma once

#include <oaidl.h>
#include <oleauto.h>
#include <unknwn.h>

#include <utility>

// One counted COM reference, released exactly once: when replaced, reset or destroyed.
template <typename Interface>
class ComRef {
  public:
    ComRef() = default;
    // Takes over a reference the caller already holds.
    explicit ComRef(Interface* adopted) : m_pointer(adopted) {}
    ComRef(ComRef&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { reset(); }

    Interface* get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // The out-argument of a call that hands back a new reference; drops the old one first.
    Interface** put() {
        reset();
        return &m_pointer;
    }
    // The same, typed as COM's creation and query calls want it.
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    void reset() {
        if (m_pointer)
            std::exchange(m_pointer, nullptr)->Release();
    }

  private:
    Interface* m_pointer = nullptr;
};

// One BSTR, freed exactly once.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(BSTR adopted) : m_text(adopted) {}
    Bstr(Bstr&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            reset();
            m_text = std::exchange(other.m_text, nullptr);
        }
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { reset(); }

    BSTR get() const { return m_text; }
    // Hands the string to an owner that frees it itself (a VARIANT).
    BSTR release() { return std::exchange(m_text, nullptr); }
    BSTR* put() {
        reset();
        return &m_text;
    }
    void reset() { SysFreeString(std::exchange(m_text, nullptr)); }

  private:
    BSTR m_text = nullptr;
};

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
