#include "headless/headless_window.h"

namespace afx::headless {

Window::Window(Backend& backend, const DialogLayout& layout, DialogEvents& events)
    : m_backend(backend), m_events(events), m_caption(layout.caption) {
  m_client = SIZE{layout.clientWidth, layout.clientHeight};
  m_controls.reserve(layout.controls.size());
  for (const ControlLayout& source : layout.controls) {
    Control control;
    control.kind = source.kind;
    control.id = source.item->nID;
    control.style = source.item->dwStyle;
    control.bounds = source.bounds;
    control.text = source.text;
    m_controls.push_back(std::move(control));
  }
}

void Window::SetControlText(int index, std::u16string_view text) {
  Control& control = m_controls.at(static_cast<std::size_t>(index));
  control.text = text;
  control.anchor = control.caret = 0;
}

std::u16string Window::ControlText(int index) const {
  return m_controls.at(static_cast<std::size_t>(index)).text;
}

void Window::SetTextLimit(int index, int limit) {
  m_controls.at(static_cast<std::size_t>(index)).limit = limit;
}

void Window::SetSelection(int index, int start, int end) {
  SelectRange(m_controls.at(static_cast<std::size_t>(index)), start, end);
}

void Window::SetFocus(int index) {
  m_focus = index >= 0 && index < static_cast<int>(m_controls.size()) ? index : -1;
}

void Window::DrawIcon(int x, int y, const Icon& /*icon*/, HICON handle) {
  if (m_paintDepth > 0) m_drawn.push_back(DrawnIcon{x, y, handle});
}

void Window::RunModalLoop() {
  if (Backend::Script script = m_backend.TakeScript()) {
    Dialog dialog(*this);
    script(dialog);
  }
}

Control* Window::Find(int id) {
  for (Control& control : m_controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

const Control* Window::Find(int id) const {
  return const_cast<Window*>(this)->Find(id);
}

int Window::IndexOf(const Control& control) const {
  return static_cast<int>(&control - m_controls.data());
}

Control* Window::Focused() {
  return m_focus >= 0 ? &m_controls[static_cast<std::size_t>(m_focus)] : nullptr;
}

}  // namespace afx::headless
