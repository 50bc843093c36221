#include "ComShell.h"

#include <ole2.h>

#include "ComError.h"
#include "DocumentText.h"
#include "NarrowText.h"
#include "PathSeparator.h"
#include "TextConversion.h"
#include "win32/Win32FileSource.h"

ComFolder::ComFolder(ComRef<Folder> folder, const std::string& path)
    : m_folder(std::move(folder)), m_prefix(path) {
    // By characters: a GBK character's second byte may be a backslash.
    const std::size_t last = narrow_text::findLastChar(m_prefix, isPathSeparator);
    if (m_prefix.empty() || last != m_prefix.size() - 1)
        m_prefix += kPathSeparator;
}

std::unique_ptr<ShellItemObject> ComFolder::parseName(const std::string& name) {
    Bstr wideName = bstrFromNarrow(name);
    ComRef<FolderItem> item;
    const HRESULT hr = m_folder->ParseName(wideName.get(), item.put());
    if (FAILED(hr))
        raiseComFailure(hr, m_folder.get(), IID_Folder);
    if (!item)
        return nullptr;
    return std::make_unique<ComItem>(std::move(item), name);
}

Bstr ComFolder::itemDetails(ShellItemObject& item, int column) {
    FolderItem* folderItem = static_cast<ComItem&>(item).get();
    VariantArg argument;
    // The argument's own reference, dropped when it is cleared.
    folderItem->AddRef();
    argument.value().vt = VT_DISPATCH;
    argument.value().pdispVal = folderItem;
    return detailsOf(argument, column);
}

Bstr ComFolder::headingDetails(int column) {
    VariantArg argument;
    argument.value().bstrVal = bstrFromNarrow(std::string()).release();
    argument.value().vt = VT_BSTR;
    return detailsOf(argument, column);
}

std::string ComFolder::itemDetail(ShellItemObject& item, int column) {
    return narrowFromBstr(itemDetails(item, column).get());
}

std::string ComFolder::columnHeading(int column) {
    return narrowFromBstr(headingDetails(column).get());
}

std::string ComFolder::itemDetailUtf8(ShellItemObject& item, int column) {
    return utf8FromBstr(itemDetails(item, column).get());
}

std::string ComFolder::columnHeadingUtf8(int column) {
    return utf8FromBstr(headingDetails(column).get());
}

bool ComFolder::itemUnreadable(ShellItemObject& item) {
    // The shell answers blank details whatever kept it from the file, so the file is opened
    // as a reader that lets others write: a document open in an editor opens, one another
    // program holds exclusively, or one the user may not read, does not.
    Bstr path;
    if (FAILED(static_cast<ComItem&>(item).get()->get_Path(path.put())) || !path.get())
        return false;
    HANDLE file = CreateFileW(path.get(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

std::string ComFolder::itemText(ShellItemObject& item) {
    // A file that does not open, like one that is no document, has no text.
    Win32FileSource source(wideFromNarrow(m_prefix + static_cast<ComItem&>(item).name()));
    return narrowFromUtf8Dropping(documentFirstParagraph(source));
}

Bstr ComFolder::detailsOf(VariantArg& argument, int column) {
    Bstr text;
    const HRESULT hr = m_folder->GetDetailsOf(argument.value(), column, text.put());
    if (FAILED(hr))
        raiseComFailure(hr, m_folder.get(), IID_Folder);
    raiseIfFailed(argument.clear());
    return text;
}

std::unique_ptr<ShellFolderObject> ComShell::nameSpace(const std::string& path) {
    VariantArg argument;
    argument.value().bstrVal = bstrFromNarrow(path).release();
    argument.value().vt = VT_BSTR;
    ComRef<Folder> folder;
    const HRESULT hr = m_shell->NameSpace(argument.value(), folder.put());
    if (FAILED(hr))
        raiseComFailure(hr, m_shell.get(), IID_IShellDispatch);
    raiseIfFailed(argument.clear());
    if (!folder)
        return nullptr;
    return std::make_unique<ComFolder>(std::move(folder), path);
}

void ComShellBackend::enterThread() {
    // A thread that already has COM answers S_FALSE, which is as good.
    (void)CoInitialize(nullptr);
}

void ComShellBackend::leaveThread() {
    CoUninitialize();
}

std::unique_ptr<ShellObject> ComShellBackend::connect() {
    ComRef<IUnknown> created;
    if (FAILED(CoCreateInstance(CLSID_Shell, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, created.putVoid())) ||
        !created)
        return nullptr;
    if (FAILED(OleRun(created.get())))
        return nullptr;
    ComRef<IShellDispatch> shell;
    if (FAILED(created->QueryInterface(IID_IShellDispatch, shell.putVoid())) || !shell)
        return nullptr;
    return std::make_unique<ComShell>(std::move(shell));
}

std::unique_ptr<ShellBackend> makeNativeShellBackend() {
    return std::make_unique<ComShellBackend>();
}
