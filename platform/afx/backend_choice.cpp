// Which window backend the framework uses.
#include "afx_state.h"

namespace afx {

void SetBackendFactory(BackendFactory factory) {
  State().backendFactory = factory;
}

bool InstallBackend(WindowBackend* backend) {
  ModuleState& state = State();
  if (!state.openDialogs.empty()) return false;
  state.installedBackend = backend;
  return true;
}

WindowBackend* CurrentBackend() {
  ModuleState& state = State();
  if (state.installedBackend != nullptr) return state.installedBackend;
  if (!state.ownBackend && state.backendFactory != nullptr)
    state.ownBackend = state.backendFactory();
  return state.ownBackend.get();
}

void DestroyOwnBackend() {
  ModuleState& state = State();
  if (state.openDialogs.empty()) state.ownBackend.reset();
}

ScopedBackend::ScopedBackend(WindowBackend& backend) : m_previous(State().installedBackend) {
  InstallBackend(&backend);
}

ScopedBackend::~ScopedBackend() {
  InstallBackend(m_previous);
}

}  // namespace afx
