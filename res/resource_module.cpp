// The program's resources, put together for the framework.
#include "res/resource_module.h"

#include "res/embedded_icon.h"
#include "res/resource.h"

namespace {

constexpr AFX_STRING_ENTRY kStrings[] = {
    {IDP_SOCKETS_INIT_FAILED, "Windows sockets initialization failed."},
};

constexpr AFX_STRING_TABLE kStringTables[] = {
    {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), kStrings},
};

}  // namespace

const AFX_RESOURCE_MODULE& TarveloResourceModule() {
  static const AFX_ICON_GROUP iconGroups[] = {
      {IDR_MAINFRAME, MAKELANGID(LANG_CROATIAN, SUBLANG_CROATIAN_CROATIA),
       std::span<const BYTE>(kTarveloIco, kTarveloIcoSize)},
  };
  static const AFX_DIALOG_TEMPLATE dialogs[] = {TestDialogTemplate()};
  static const AFX_RESOURCE_MODULE module = {dialogs, iconGroups, kStringTables,
                                             &TarveloVersionInfo()};
  return module;
}
