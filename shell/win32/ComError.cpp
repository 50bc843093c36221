#include "ComError.h"

#include <oaidl.h>
#include <oleauto.h>

#include <memory>
#include <string>

#include "ComHolders.h"
#include "TextConversion.h"

namespace {

// The error-information object of a failed call: one reference, its description read once.
class ComErrorInfo : public ShellErrorInfo {
  public:
    explicit ComErrorInfo(ComRef<IErrorInfo> info)
        : m_info(std::move(info)), m_description(readDescription(m_info.get())) {}
    std::string description() const override { return m_description; }

  private:
    // A description that cannot be read or converted is left empty: the failure being
    // reported matters more than its text.
    static std::string readDescription(IErrorInfo* info) {
        Bstr text;
        if (FAILED(info->GetDescription(text.put())))
            return {};
        try {
            return narrowFromBstr(text.get());
        } catch (const ShellError&) {
            return {};
        }
    }

    ComRef<IErrorInfo> m_info;
    std::string m_description;
};

std::shared_ptr<const ShellErrorInfo> errorInfoOf(IUnknown* object, REFIID interfaceId) {
    ComRef<ISupportErrorInfo> support;
    if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) || !support)
        return nullptr;
    if (support->InterfaceSupportsErrorInfo(interfaceId) != S_OK)
        return nullptr;
    ComRef<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info)
        return nullptr;
    return std::make_shared<ComErrorInfo>(std::move(info));
}

}  // namespace

void raiseComFailure(HRESULT hr, IUnknown* object, REFIID interfaceId) {
    throw ShellError(static_cast<std::int32_t>(hr), errorInfoOf(object, interfaceId));
}
