// The process-wide settings every transfer starts from (see xmlhttp_testing.h for changing
// them).
#pragma once

#include <string>
#include <vector>

namespace xmlhttp {

struct TransferSettings {
  long connectTimeoutMs;
  long stallMs;                        // no byte moved for this long ends the transfer
  std::vector<std::string> connectTo;  // "host:port:address:port" entries
};

TransferSettings CurrentTransferSettings();

}  // namespace xmlhttp
