#pragma once
// Child-window identifiers of the main window. Tests drive the real window through them.
// Kept free of <windows.h> so resource scripts and tests can include it.

#define IDC_FRAME1 1001
#define IDC_DOMAINTOADD 1002
#define IDC_ADDDOMAIN 1003
#define IDC_COMMAND1 1004
#define IDC_LISTVIEW1 1005
#define IDC_WEBCOUNT 1006
#define IDC_WEBCOUNT_LABEL 1007

#define IDC_DIALSTATE 1101
#define IDC_DIALUPCONNECTION 1102

#define IDC_REPORT 1201

#define IDI_VIGIL 1
