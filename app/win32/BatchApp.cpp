#include "BatchApp.h"

#include <windows.h>

#include <commctrl.h>

#include "BatchDlg.h"
#include "CCore.h"
#include "DialogState.h"
#include "ReferenceFile.h"
#include "WindowsColumns.h"

namespace {

// _propids.txt only the shell of this machine can fill in; written once, before the
// dialog can offer to open it.
void writeReference(ShellBackend& shell) {
    ProcessPaths paths(CCore().getAppPath());
    writeReferenceFileIfMissing(paths.refFilePath, shell, paths.appPath, windowsFallbackColumns());
}

}  // namespace

bool CBatchApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    std::shared_ptr<ShellBackend> shell = makeNativeShellBackend();
    writeReference(*shell);
    ThreadJobStarter starter;
    CBatchDlg dialog(starter, shell);
    dialog.doModal();
    return false;
}
