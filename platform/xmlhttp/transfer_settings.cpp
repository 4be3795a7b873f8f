#include "transfer_settings.h"

xmlhttp::TransferSettings xmlhttp::CurrentTransferSettings() {
  return TransferSettings{30'000, 60'000};
}
