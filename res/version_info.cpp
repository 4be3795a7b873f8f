// The version block.
#include "res/resource_module.h"

namespace {

constexpr AFX_VERSION_STRING kStrings[] = {
    {"CompanyName", ""},
    {"FileDescription", "Tarvelo MFC Application"},
    {"FileVersion", "1, 0, 0, 1"},
    {"InternalName", "Tarvelo"},
    {"LegalCopyright", "Copyright (C) 2026 Tarvelo"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Tarvelo.EXE"},
    {"ProductName", "Tarvelo Application"},
    {"ProductVersion", "1, 0, 0, 1"},
};

constexpr AFX_VERSION_INFO kVersion = {
    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
    VS_FIXEDFILEINFO{
        VS_FFI_SIGNATURE,
        VS_FFI_STRUCVERSION,
        0x00010000,  // file version 1.0.0.1
        0x00000001,
        0x00010000,  // product version 1.0.0.1
        0x00000001,
        VS_FFI_FILEFLAGSMASK,
        0,
        VOS__WINDOWS32,
        VFT_APP,
        VFT2_UNKNOWN,
        0,
        0,
    },
    "040904B0",
    kStrings,
    0x0409,
    1200,
};

}  // namespace

const AFX_VERSION_INFO& TarveloVersionInfo() {
  return kVersion;
}
