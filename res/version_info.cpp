// The version block.
#include "res/resource_module.h"
#include "res/version.h"

namespace {

constexpr DWORD kVersionMS = (TARVELO_VERSION_MAJOR << 16) | TARVELO_VERSION_MINOR;
constexpr DWORD kVersionLS = (TARVELO_VERSION_PATCH << 16) | TARVELO_VERSION_BUILD;

constexpr AFX_VERSION_STRING kStrings[] = {
    {"CompanyName", TARVELO_COMPANY_NAME},           {"FileDescription", TARVELO_FILE_DESCRIPTION},
    {"FileVersion", TARVELO_VERSION_TEXT},           {"InternalName", TARVELO_INTERNAL_NAME},
    {"LegalCopyright", TARVELO_LEGAL_COPYRIGHT},     {"LegalTrademarks", TARVELO_LEGAL_TRADEMARKS},
    {"OriginalFilename", TARVELO_ORIGINAL_FILENAME}, {"ProductName", TARVELO_PRODUCT_NAME},
    {"ProductVersion", TARVELO_VERSION_TEXT},
};

constexpr AFX_VERSION_INFO kVersion = {
    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
    VS_FIXEDFILEINFO{
        VS_FFI_SIGNATURE,
        VS_FFI_STRUCVERSION,
        kVersionMS,  // file version
        kVersionLS,
        kVersionMS,  // product version
        kVersionLS,
        VS_FFI_FILEFLAGSMASK,
        0,
        VOS__WINDOWS32,
        VFT_APP,
        VFT2_UNKNOWN,
        0,
        0,
    },
    TARVELO_VERSION_STRING_TABLE,
    kStrings,
    TARVELO_VERSION_LANGUAGE,
    TARVELO_VERSION_CODE_PAGE,
};

}  // namespace

const AFX_VERSION_INFO& TarveloVersionInfo() {
  return kVersion;
}
