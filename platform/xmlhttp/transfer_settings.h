// The limits every transfer runs within.
#pragma once

namespace xmlhttp {

struct TransferSettings {
  long connectTimeoutMs;
  long stallMs;  // no byte moved for this long ends the transfer
};

// Alone in its file, so that a test program may link limits of its own in its place.
TransferSettings CurrentTransferSettings();

}  // namespace xmlhttp
