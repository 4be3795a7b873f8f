#include "transfer_settings.h"

#include <mutex>

#include "xmlhttp_testing.h"

namespace xmlhttp {
namespace {

constexpr long kDefaultConnectTimeoutMs = 30'000;
constexpr long kDefaultStallMs = 60'000;

struct SharedSettings {
  std::mutex mutex;
  TransferSettings settings{kDefaultConnectTimeoutMs, kDefaultStallMs, {}};
};

SharedSettings& Shared() {
  static SharedSettings shared;
  return shared;
}

}  // namespace

TransferSettings CurrentTransferSettings() {
  SharedSettings& shared = Shared();
  const std::lock_guard lock(shared.mutex);
  return shared.settings;
}

}  // namespace xmlhttp

void XmlHttpSetTimeoutsForTesting(long connectMs, long stallMs) {
  auto& shared = xmlhttp::Shared();
  const std::lock_guard lock(shared.mutex);
  shared.settings.connectTimeoutMs = connectMs > 0 ? connectMs : xmlhttp::kDefaultConnectTimeoutMs;
  shared.settings.stallMs = stallMs > 0 ? stallMs : xmlhttp::kDefaultStallMs;
}

void XmlHttpMapHostForTesting(const char* hostPort, const char* addressPort) {
  if (!hostPort || !addressPort) return;
  const std::string prefix = std::string(hostPort) + ":";
  auto& shared = xmlhttp::Shared();
  const std::lock_guard lock(shared.mutex);
  auto& entries = shared.settings.connectTo;
  std::erase_if(entries, [&](const std::string& entry) { return entry.starts_with(prefix); });
  entries.push_back(prefix + addressPort);
}

void XmlHttpClearHostMapsForTesting() {
  auto& shared = xmlhttp::Shared();
  const std::lock_guard lock(shared.mutex);
  shared.settings.connectTo.clear();
}
