// The dialog template IDD_TEST_DIALOG.
//
// The caption and the footer name the location the program calls: the service host of this
// build and the path /Service.asmx.
#include "res/resource.h"
#include "res/resource_module.h"
#include "tarvelo_config.h"

namespace {

#define TARVELO_SERVICE_LOCATION TARVELO_SERVICE_HOST "/Service.asmx"

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | WS_GROUP;
constexpr DWORD kMultiLineBox =
    kChild | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | WS_HSCROLL | WS_BORDER | WS_TABSTOP;

// Template order, which is also the tab order.
constexpr AFX_DIALOG_ITEM kItems[] = {
    {IDOK, "button", "Call WebService", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 426, 26, 61,
     14},
    {IDCANCEL, "button", "Exit", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 426, 105, 61, 14},
    {IDC_STATIC, "button", "simpleMethod", kChild | BS_GROUPBOX, 0, 0, 2, 1, 488, 101},
    {IDC_STATIC, "static", "Add to string Hello :", kLabel, 0, 0, 10, 13, 66, 8},
    {IDC_TEXT, "edit", "", kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 0, 76, 11,
     338, 12},
    {IDC_REQUEST, "edit", "", kMultiLineBox, 0, 0, 9, 30, 405, 26},
    {IDC_STATIC, "static", "Request", kLabel, 0, 0, 416, 49, 31, 8},
    {IDC_STATIC, "static", "Response", kLabel, 0, 0, 416, 74, 33, 8},
    {IDC_RESPONSE, "edit", "", kMultiLineBox, 0, 0, 10, 58, 405, 26},
    {IDC_STATIC, "static", "Times:", kLabel, 0, 0, 424, 12, 22, 8},
    {IDC_TIMES, "edit", "", kChild | ES_CENTER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 0, 447,
     10, 37, 12},
    {IDC_TIMES_DONE, "edit", "",
     kChild | ES_CENTER | ES_AUTOHSCROLL | ES_READONLY | ES_NUMBER | WS_BORDER | WS_TABSTOP, 0, 0,
     51, 87, 46, 12},
    {IDC_STATIC, "static", "Times dane:", kLabel, 0, 0, 10, 89, 40, 8},
    {IDC_STATIC, "static", "Begin:", kLabel, 0, 0, 118, 89, 21, 8},
    {IDC_STATIC, "static", "End:", kLabel, 0, 0, 207, 89, 16, 8},
    {IDC_BEGIN, "static", "", kLabel, 0, 0, 141, 89, 59, 8},
    {IDC_END, "static", "", kLabel, 0, 0, 227, 89, 59, 8},
    {IDC_STATIC, "static", "Average:", kLabel, 0, 0, 385, 89, 30, 8},
    {IDC_AVERAGE, "static", "", kLabel, 0, 0, 416, 89, 67, 8},
    {IDC_STATIC, "static", "Diff.:", kLabel, 0, 0, 291, 89, 16, 8},
    {IDC_DIFF, "static", "", kLabel, 0, 0, 306, 89, 73, 8},
    {IDC_STATIC, "static", "Web Service: " TARVELO_SERVICE_LOCATION, kLabel, 0, 0, 13, 105, 289, 8},
};

constexpr AFX_DIALOG_TEMPLATE kTestDialog = {
    IDD_TEST_DIALOG,
    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
    WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    0,
    0,
    492,
    121,
    "Tarvelo - " TARVELO_SERVICE_LOCATION,
    8,
    0,
    0,
    1,
    "MS Sans Serif",
    kItems,
};

}  // namespace

const AFX_DIALOG_TEMPLATE& TestDialogTemplate() {
  return kTestDialog;
}
