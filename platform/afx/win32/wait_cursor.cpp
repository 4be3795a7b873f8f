// The wait cursor on the real platform: the hourglass while the count is above zero, then
// the cursor that was there before it.
#include "window_system.h"

void afx::ShowWaitCursor(int nCode, int depth) {
  static HCURSOR restore = nullptr;
  if (depth > 0) {
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (nCode > 0 && depth == 1) restore = previous;
  } else if (nCode < 0) {
    SetCursor(restore != nullptr ? restore : LoadCursor(nullptr, IDC_ARROW));
    restore = nullptr;
  }
}
