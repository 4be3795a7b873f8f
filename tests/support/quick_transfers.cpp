// A test program's own limits for the HTTP component's transfers, in place of the component's
// (link tarvelo_seam_quick_transfers): a connection that does not come, or an exchange in which
// nothing moves, fails within seconds instead of the component's half a minute and a minute.
#include "transfer_settings.h"

xmlhttp::TransferSettings xmlhttp::CurrentTransferSettings() {
  return TransferSettings{2'000, 2'000};
}
