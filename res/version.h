// The version block's values, read by the program's resources (version_info.cpp) and by the
// resource compiler (tarvelo.rc, on Windows).
#pragma once

#define TARVELO_VERSION_MAJOR 1
#define TARVELO_VERSION_MINOR 0
#define TARVELO_VERSION_PATCH 0
#define TARVELO_VERSION_BUILD 1
#define TARVELO_VERSION_TEXT "1, 0, 0, 1"

#define TARVELO_COMPANY_NAME ""
#define TARVELO_FILE_DESCRIPTION "Tarvelo MFC Application"
#define TARVELO_INTERNAL_NAME "Tarvelo"
#define TARVELO_LEGAL_COPYRIGHT "Copyright (C) 2026 Tarvelo"
#define TARVELO_LEGAL_TRADEMARKS ""
#define TARVELO_ORIGINAL_FILENAME "Tarvelo.EXE"
#define TARVELO_PRODUCT_NAME "Tarvelo Application"

// The string table's key: English (United States), UTF-16 (code page 1200).
#define TARVELO_VERSION_LANGUAGE 0x0409
#define TARVELO_VERSION_CODE_PAGE 1200
#define TARVELO_VERSION_STRING_TABLE "040904B0"
