// Win32 types and kernel services, as the program uses them, and (winuser.h, winver.h) the
// declarations of the user services and version resources that the real windows.h brings along.
//
// Names, values and calling contracts are the Windows ones. Wide text is UTF-16 held in
// char16_t (wchar_t is 32-bit on Linux), so WCHAR and OLECHAR are char16_t.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types -------------------------------------------------------------------------

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using HRESULT = std::int32_t;
using CHAR = char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBOOL = BOOL*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Handles are opaque pointers; each kind is a distinct type, as with STRICT.
#define TARVELO_DECLARE_HANDLE(name) \
  struct name##__ {                  \
    int unused;                      \
  };                                 \
  using name = name##__*
TARVELO_DECLARE_HANDLE(HWND);
TARVELO_DECLARE_HANDLE(HICON);
TARVELO_DECLARE_HANDLE(HINSTANCE);
TARVELO_DECLARE_HANDLE(HDC);
#undef TARVELO_DECLARE_HANDLE
using HMODULE = HINSTANCE;
using HCURSOR = HICON;
using HANDLE = void*;
using HLOCAL = void*;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;

struct POINT {
  LONG x;
  LONG y;
};

// A local clock reading, in the Windows field order.
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

struct STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  BYTE* lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
};
using STARTUPINFO = STARTUPINFOA;
using LPSTARTUPINFOA = STARTUPINFOA*;

#define STARTF_USESHOWWINDOW 0x00000001
#define SW_HIDE 0
#define SW_SHOWMINIMIZED 2
#define SW_SHOWDEFAULT 10

// ---- Languages -----------------------------------------------------------------------------

using LANGID = WORD;
#define MAKELANGID(primary, sub) static_cast<LANGID>((static_cast<WORD>(sub) << 10) | (primary))
#define LANG_CROATIAN 0x1A
#define LANG_ENGLISH 0x09
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_CROATIAN_CROATIA 0x01

// ---- HRESULT -------------------------------------------------------------------------------

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#define TARVELO_HR(value) static_cast<HRESULT>(static_cast<std::uint32_t>(value))

#define S_OK TARVELO_HR(0x00000000)
#define S_FALSE TARVELO_HR(0x00000001)
#define E_NOTIMPL TARVELO_HR(0x80004001)
#define E_NOINTERFACE TARVELO_HR(0x80004002)
#define E_POINTER TARVELO_HR(0x80004003)
#define E_FAIL TARVELO_HR(0x80004005)
#define E_UNEXPECTED TARVELO_HR(0x8000FFFF)
#define E_OUTOFMEMORY TARVELO_HR(0x8007000E)
#define E_INVALIDARG TARVELO_HR(0x80070057)

#define FACILITY_WIN32 7
// A Win32 error code as an HRESULT: 0x80070000 or-ed with its low 16 bits; 0 stays 0.
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error) {
  return error == 0
             ? 0
             : static_cast<HRESULT>((error & 0x0000FFFFu) | (FACILITY_WIN32 << 16) | 0x80000000u);
}

// ---- Win32 error codes (GetLastError) ------------------------------------------------------

#define ERROR_SUCCESS 0
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_MOD_NOT_FOUND 126
#define ERROR_INVALID_FLAGS 1004
#define ERROR_NO_UNICODE_TRANSLATION 1113

// ---- Code pages ----------------------------------------------------------------------------

#define CP_ACP 0
#define CP_UTF8 65001

// Conversion flags. A single-byte code page takes MB_PRECOMPOSED and MB_ERR_INVALID_CHARS (every
// byte is defined there, so the latter never fails) and WC_NO_BEST_FIT_CHARS (characters are
// never replaced by look-alikes in any case); UTF-8 takes MB_ERR_INVALID_CHARS and
// WC_ERR_INVALID_CHARS, which turn malformed input into ERROR_NO_UNICODE_TRANSLATION instead of
// U+FFFD. Other flags give ERROR_INVALID_FLAGS.
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

// UTF-16 surrogates: a high one followed by a low one is one character beyond U+FFFF.
#define IS_HIGH_SURROGATE(wch) ((wch) >= 0xD800 && (wch) <= 0xDBFF)
#define IS_LOW_SURROGATE(wch) ((wch) >= 0xDC00 && (wch) <= 0xDFFF)
#define IS_SURROGATE_PAIR(hs, ls) (IS_HIGH_SURROGATE(hs) && IS_LOW_SURROGATE(ls))

// ---- Kernel services -----------------------------------------------------------------------

// The local clock, with its milliseconds.
void GetLocalTime(LPSYSTEMTIME lpSystemTime);

// The ANSI code page of the deployment (1250 unless built otherwise).
UINT GetACP();

// ANSI <-> UTF-16 in a given code page. Length -1 means "up to and including the NUL", and
// then the terminator is counted. A destination size of 0 asks for the size needed. On failure
// the result is 0 and GetLastError() tells why: ERROR_INSUFFICIENT_BUFFER,
// ERROR_INVALID_PARAMETER (unknown code page, null pointers), ERROR_INVALID_FLAGS.
// A character that the code page lacks becomes the default character "?" (or the first byte of
// lpDefaultChar) and is no failure; *lpUsedDefaultChar then tells that it happened. A surrogate
// pair is one character. For CP_UTF8, lpDefaultChar and lpUsedDefaultChar must be null.
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar);

int lstrlenA(LPCSTR lpString);  // null gives 0

DWORD GetLastError();  // per thread
void SetLastError(DWORD dwErrCode);

LONG InterlockedIncrement(LONG volatile* lpAddend);  // atomic; returns the new value
LONG InterlockedDecrement(LONG volatile* lpAddend);

HLOCAL LocalAlloc(UINT uFlags, std::size_t uBytes);
HLOCAL LocalFree(HLOCAL hMem);  // null is fine; returns null on success
#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040

void GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo);
#define GetStartupInfo GetStartupInfoA
// null: the executable's own module. Other modules are not known (ERROR_MOD_NOT_FOUND).
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
#define GetModuleHandle GetModuleHandleA

#include "winuser.h"
#include "winver.h"
