// Ids of the dialogs' resources and controls, shared by the Windows resource script,
// the Windows dialog, the Qt dialog (as object names) and the dialog's behaviour.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_OPTIONS 103
#define IDD_PREVIEW 104

#define IDC_PATHUSER 1000
#define IDC_BROWSE_DIR 1001
#define IDC_GETPROPS 1002
#define IDC_PROPIDS 1003
#define IDC_PROPIDS_REF 1004
#define IDC_FILEOUT 1005
#define IDC_OPEN_OUT 1006
#define IDC_BROWSE_OUT 1007
#define IDC_COLFULLNAME 1008
#define IDC_RUN 1009
#define IDC_RENAME 1010
#define IDC_ABOUT 1011
#define IDC_STATUS 1012

// The main dialog's entries in the Windows system menu: below 0xF000, where the system's own
// commands begin, and their low four bits clear, as Windows uses them.
#define IDM_UNDO_RENAMES 0x0110
#define IDM_OPTIONS 0x0120
#define IDM_PREVIEW_RENAMES 0x0130

// The buttons that end a dialog, as windows.h has them.
#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#endif

// The options dialog.
#define IDC_OPT_SUBFOLDERS 1020
#define IDC_OPT_WORD 1021
#define IDC_OPT_WPS 1022
#define IDC_OPT_SHEETS 1023
#define IDC_OPT_SLIDES 1024
#define IDC_OPT_TEXTTITLE 1025
#define IDC_OPT_FIXNAMES 1026
#define IDC_OPT_NUMBERDUPS 1027
#define IDC_OPT_TEMPLATE 1028

// The rename preview window.
#define IDC_PREVIEW_LIST 1040
#define IDC_PREVIEW_KEPT 1041
#define IDC_PREVIEW_RUN 1042
#define IDC_PREVIEW_OPTIONS 1043
