#pragma once

#include <oaidl.h>
#include <windows.h>

#include <atomic>

#include "ObjectTally.h"

namespace stand_in {

// IUnknown, IDispatch and ISupportErrorInfo for one automation interface of the stand-in.
// References are counted and tallied. An object whose last reference went is kept, not
// deleted, so that a Release too many is counted instead of touching freed memory.
template <typename Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
  public:
    DispatchObject() { objectCreated(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;
    virtual ~DispatchObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
        } else if (!(*out = ownInterface(iid))) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG held = m_references;
        while (held > 0 && !m_references.compare_exchange_weak(held, held - 1)) {
        }
        if (held == 0) {
            objectOverReleased();
            return 0;
        }
        if (held == 1)
            objectFreed();
        return held - 1;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Interface) ? S_OK : S_FALSE;
    }

  protected:
    // A further interface of the object, not counted here; nullptr when it has none.
    virtual void* ownInterface(REFIID) { return nullptr; }

  private:
    std::atomic<ULONG> m_references{0};
};

}  // namespace stand_in
