#include "afx_state.h"

namespace afx {

ModuleState& State() {
  static ModuleState state;
  return state;
}

}  // namespace afx
