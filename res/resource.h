// The symbols of the program's resources.
#pragma once

#define IDD_TEST_DIALOG 102
#define IDP_SOCKETS_INIT_FAILED 103
#define IDR_MAINFRAME 128

#define IDC_TEXT 1000
#define IDC_REQUEST 1001
#define IDC_RESPONSE 1002
#define IDC_TIMES 1003
#define IDC_TIMES_DONE 1004
#define IDC_BEGIN 1005
#define IDC_END 1006
#define IDC_AVERAGE 1007
#define IDC_DIFF 1008

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
