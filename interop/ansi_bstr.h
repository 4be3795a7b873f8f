// Text between the ANSI code page (CP_ACP) and Automation strings.
#pragma once

#include "ole2.h"

// A new BSTR that the caller owns (SysFreeString), converted from the ANSI code page; it ends
// at the first NUL. Null for a null text, and null when the string cannot be allocated. A
// failed conversion raises _com_error with the code made from GetLastError().
BSTR AnsiToBstr(const char* pszText);

// A new array that the caller owns (delete[]), converted to the ANSI code page up to the first
// NUL unit; characters the code page lacks become "?". Null for a null text. Raises _com_error:
// E_OUTOFMEMORY when the array cannot be allocated, the code made from GetLastError() when the
// conversion fails.
char* BstrToAnsi(const OLECHAR* pwszText);
