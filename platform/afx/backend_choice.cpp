// Which window backend the framework's dialog manager uses.
#include <memory>

#include "dialog_session.h"

namespace afx {
namespace {

struct BackendChoice {
  WindowBackend* installed = nullptr;  // not owned
  std::unique_ptr<WindowBackend> own;  // made by the framework
  BackendFactory factory = nullptr;
};

BackendChoice& Choice() {
  static BackendChoice choice;
  return choice;
}

}  // namespace

void SetBackendFactory(BackendFactory factory) {
  Choice().factory = factory;
}

bool InstallBackend(WindowBackend* backend) {
  if (InnermostDialog() != nullptr) return false;
  Choice().installed = backend;
  return true;
}

WindowBackend* CurrentBackend() {
  BackendChoice& choice = Choice();
  if (choice.installed != nullptr) return choice.installed;
  if (!choice.own && choice.factory != nullptr) choice.own = choice.factory();
  return choice.own.get();
}

void DestroyOwnBackend() {
  if (InnermostDialog() == nullptr) Choice().own.reset();
}

ScopedBackend::ScopedBackend(WindowBackend& backend) : m_previous(Choice().installed) {
  InstallBackend(&backend);
}

ScopedBackend::~ScopedBackend() {
  InstallBackend(m_previous);
}

}  // namespace afx
