#include "soap/service_location.h"

#include <string>

#include "tarvelo_config.h"

namespace {
std::string& HostOverride() {
  static std::string host;
  return host;
}
}  // namespace

const char* GetServiceHost() {
  const std::string& host = HostOverride();
  return host.empty() ? TARVELO_SERVICE_HOST : host.c_str();
}

const char* GetServiceNamespace() { return TARVELO_SERVICE_NAMESPACE; }

void SetServiceHost(const char* pszHost) { HostOverride() = pszHost ? pszHost : ""; }
