// The stand-in's in-process server: one class, registered by the tests under the shell's
// class id, whose objects answer from the test's table.
#include <shldisp.h>
#include <windows.h>

#include <atomic>

#include "ObjectTally.h"
#include "StandInObjects.h"

namespace {

std::atomic<long> g_serverLocks{0};

// Lives as long as the DLL; its references are not tallied.
class ShellFactory : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = iid == IID_IUnknown || iid == IID_IClassFactory ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        // Without a table the test has not prepared this run: the shell cannot be made.
        std::shared_ptr<const stand_in::AnswerTable> table = stand_in::AnswerTable::load();
        if (!table)
            return E_FAIL;
        auto* shell = new stand_in::StandInShell(std::move(table));
        shell->AddRef();
        HRESULT hr = shell->QueryInterface(iid, out);
        shell->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        g_serverLocks += lock ? 1 : -1;
        return S_OK;
    }
};

ShellFactory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH)
        stand_in::writeRecord();
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != CLSID_Shell)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return stand_in::anyObjectAlive() || g_serverLocks > 0 ? S_FALSE : S_OK;
}
