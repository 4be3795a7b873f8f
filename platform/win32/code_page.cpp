// The ANSI code page of the deployment, and the way tests change it.
#include "code_page.h"

#include <atomic>

#include "tarvelo_config.h"
#include "win32_testing.h"

namespace {

// 0: no override, the deployment's code page holds.
std::atomic<UINT> g_acpOverride{0};

}  // namespace

UINT GetACP() {
  const UINT override = g_acpOverride.load(std::memory_order_relaxed);
  return override != 0 ? override : static_cast<UINT>(TARVELO_ANSI_CODE_PAGE);
}

void SetACPForTesting(UINT codePage) {
  g_acpOverride.store(codePage, std::memory_order_relaxed);
}

ScopedACPForTesting::ScopedACPForTesting(UINT codePage)
    : m_previous(g_acpOverride.load(std::memory_order_relaxed)) {
  SetACPForTesting(codePage);
}

ScopedACPForTesting::~ScopedACPForTesting() {
  SetACPForTesting(m_previous);
}

namespace win32_detail {

UINT ResolveCodePage(UINT codePage) {
  return codePage == CP_ACP ? GetACP() : codePage;
}

}  // namespace win32_detail
