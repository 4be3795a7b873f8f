#include "support/ansi_code_page.h"

#include "tarvelo_config.h"

namespace {

UINT g_codePage = TARVELO_ANSI_CODE_PAGE;

}  // namespace

tarvelo_test::ScopedAnsiCodePage::ScopedAnsiCodePage(UINT codePage) : m_previous(g_codePage) {
  g_codePage = codePage;
}

tarvelo_test::ScopedAnsiCodePage::~ScopedAnsiCodePage() {
  g_codePage = m_previous;
}

UINT GetACP() {
  return g_codePage;
}
