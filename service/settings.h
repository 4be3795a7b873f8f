// What the service answers to: its credentials, its namespace and the largest body it reads.
#pragma once

#include <cstddef>
#include <string>

#include "tarvelo_config.h"

namespace tarvelo::service {

struct Settings {
  std::string user = "tolvex";
  std::string password = "kqv=47";
  // The XML namespace of simpleMethod, its reply and the WSDL's target namespace.
  std::string service_namespace = TARVELO_SERVICE_NAMESPACE;
  std::size_t max_body = std::size_t{1} << 20;
};

// The one address the service answers on.
inline constexpr const char* kServicePath = "/Service.asmx";

}  // namespace tarvelo::service
