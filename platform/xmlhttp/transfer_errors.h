// What a failed transfer means to a caller of the component: a Win32 Internet error code as an
// HRESULT, and a description.
#pragma once

#include <curl/curl.h>

#include <string>

#include "windows.h"

namespace xmlhttp {

struct TransferFailure {
  HRESULT hr;
  std::string description;  // UTF-8
};

// detail is libcurl's own message for this transfer (its error buffer), may be empty.
TransferFailure DescribeTransferFailure(CURLcode code, const char* detail);

// A redirect that leads where the component does not go (another scheme than http or https).
TransferFailure DescribeRedirectFailure(const char* detail);

}  // namespace xmlhttp
