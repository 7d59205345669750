#pragma once
// Page and control numbers of the sample installer.
#define IDD_WELCOME 100
#define IDD_LICENCE 101
#define IDD_COMPONENTS 102
#define IDD_FOLDER 103
#define IDD_PROGRESS 104
#define IDD_FINISH 105

#define IDC_LICENCE_TEXT 1000
#define IDC_ACCEPT 1001
#define IDC_DECLINE 1002
#define IDC_COMPONENTS 1003
#define IDC_DESCRIPTION 1004
#define IDC_SPACE 1005
#define IDC_FOLDER 1006
#define IDC_BROWSE 1007
#define IDC_STATUS 1008
#define IDC_PROGRESS 1009
#define IDC_LOG 1010
#define IDC_README 1011
