#include "StandInObjects.h"

#include <oleauto.h>

namespace stand_in {
namespace {

// Asked of a VT_DISPATCH argument to tell the stand-in's own items from anything else.
// {5F0D6B5E-3C1A-4E8B-9D27-6A1B2C3D4E5F}
constexpr GUID kStandInItemId = {
    0x5f0d6b5e, 0x3c1a, 0x4e8b, {0x9d, 0x27, 0x6a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f}};

template <typename Interface, typename Object>
HRESULT handOut(Object* object, Interface** out) {
    object->AddRef();
    *out = object;
    return S_OK;
}

HRESULT answerText(const std::wstring& text, BSTR* out, HRESULT success = S_OK) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? success : E_OUTOFMEMORY;
}

// Fails the call as a COM server does: the error information first, then the HRESULT.
HRESULT failWith(HRESULT hr, const std::wstring& description) {
    ICreateErrorInfo* creator = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&creator))) {
        creator->SetGUID(IID_Folder);
        creator->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        creator->Release();
    }
    return hr;
}

bool asksForHeading(const VARIANT& item) {
    return item.vt == VT_EMPTY || (item.vt == VT_BSTR && SysStringLen(item.bstrVal) == 0);
}

}  // namespace

StandInItem* StandInItem::from(const VARIANT& argument) {
    if (argument.vt != VT_DISPATCH || !argument.pdispVal)
        return nullptr;
    void* own = nullptr;
    if (FAILED(argument.pdispVal->QueryInterface(kStandInItemId, &own)))
        return nullptr;
    // The argument keeps the item alive; the query's own reference is not needed.
    auto* item = static_cast<StandInItem*>(own);
    item->Release();
    return item;
}

void* StandInItem::ownInterface(REFIID iid) {
    return iid == kStandInItemId ? this : nullptr;
}

HRESULT StandInFolder::ParseName(BSTR name, FolderItem** item) {
    if (!item)
        return E_POINTER;
    *item = nullptr;
    std::wstring file(name ? name : L"", SysStringLen(name));
    if (!m_table->knows(file))
        return S_FALSE;
    return handOut(new StandInItem(file), item);
}

HRESULT StandInFolder::GetDetailsOf(VARIANT item, int column, BSTR* text) {
    if (!text)
        return E_POINTER;
    *text = nullptr;
    if (asksForHeading(item))
        return answerText(m_table->heading(column), text);
    StandInItem* own = StandInItem::from(item);
    if (!own)
        return E_INVALIDARG;
    return detail(*own, column, text);
}

HRESULT StandInFolder::detail(const StandInItem& item, int column, BSTR* text) {
    const TableLine* answer = m_table->detail(item.name(), column);
    if (!answer)
        return answerText(L"", text);
    switch (answer->kind) {
        case ReplyKind::Null:
            return S_OK;
        case ReplyKind::False:
            return answerText(answer->text, text, S_FALSE);
        case ReplyKind::Fail:
            return failWith(answer->hr, answer->text);
        default:
            return answerText(answer->text, text);
    }
}

HRESULT StandInShell::NameSpace(VARIANT folder, Folder** opened) {
    if (!opened)
        return E_POINTER;
    *opened = nullptr;
    if (folder.vt != VT_BSTR || !folder.bstrVal)
        return E_INVALIDARG;
    DWORD attributes = GetFileAttributesW(folder.bstrVal);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return S_FALSE;
    return handOut(new StandInFolder(m_table), opened);
}

}  // namespace stand_in
