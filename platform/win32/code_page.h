// Code page numbers as the conversions see them.
#pragma once

#include "windows.h"

namespace win32_detail {

// CP_ACP stands for the ANSI code page; every other number stands for itself.
UINT ResolveCodePage(UINT codePage);

}  // namespace win32_detail
