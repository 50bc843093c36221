#include "ComError.h"

#include <oaidl.h>
#include <oleauto.h>
#include <shldisp.h>

#include <gtest/gtest.h>

#include "ComHolders.h"
#include "TextConversion.h"

namespace {

// An object that offers error information for Folder alone and counts its references.
class ErrorOfferingObject : public ISupportErrorInfo {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISupportErrorInfo)) {
            *out = static_cast<ISupportErrorInfo*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, IID_Folder) ? S_OK : S_FALSE;
    }
    ULONG references() const { return m_references; }

  private:
    ULONG m_references = 1;
};

void setThreadError(const wchar_t* description) {
    ComRef<ICreateErrorInfo> created;
    ASSERT_EQ(CreateErrorInfo(created.put()), S_OK);
    created->SetDescription(const_cast<LPOLESTR>(description));
    ComRef<IErrorInfo> info;
    ASSERT_EQ(created->QueryInterface(IID_IErrorInfo, info.putVoid()), S_OK);
    ASSERT_EQ(SetErrorInfo(0, info.get()), S_OK);
}

ShellError raised(IUnknown* object, REFIID iid) {
    try {
        raiseComFailure(E_ACCESSDENIED, object, iid);
    } catch (const ShellError& error) {
        return error;
    }
    return ShellError(0);
}

}  // namespace

TEST(ComError, attachesTheErrorInformationTheObjectOffersForThatInterface) {
    ErrorOfferingObject object;
    setThreadError(L"磁盘已满");
    ShellError error = raised(&object, IID_Folder);
    EXPECT_EQ(error.hr(), static_cast<std::int32_t>(E_ACCESSDENIED));
    ASSERT_NE(error.info(), nullptr);
    EXPECT_EQ(error.info()->description(), narrowFromWide(L"磁盘已满"));
    EXPECT_EQ(object.references(), 1U);
}

TEST(ComError, attachesNothingForAnotherInterfaceOrAnObjectWithoutErrorInformation) {
    ErrorOfferingObject object;
    setThreadError(L"unrelated");
    EXPECT_EQ(raised(&object, IID_IShellDispatch).info(), nullptr);
    EXPECT_EQ(object.references(), 1U);

    ComRef<IErrorInfo> leftOver;  // taking it clears the thread's error information
    GetErrorInfo(0, leftOver.put());
    ComRef<ICreateErrorInfo> plain;
    ASSERT_EQ(CreateErrorInfo(plain.put()), S_OK);
    EXPECT_EQ(raised(plain.get(), IID_Folder).info(), nullptr);
}
