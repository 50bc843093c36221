// Ids of the main dialog's resources and controls, shared by the Windows resource script,
// the Windows dialog, the Qt dialog (as object names) and the dialog's behaviour.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102

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
