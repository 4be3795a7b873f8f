#include <algorithm>
#include <limits>
#include <vector>

#include "dialog_layout.h"
#include "headless/headless_window.h"

namespace afx::headless {

void Backend::QueueScript(Script script) {
  m_scripts.push_back(std::move(script));
}

void Backend::SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  m_answerer = std::move(answerer);
}

void Backend::ObserveControlUpdates(UpdateObserver observer) {
  m_updateObserver = std::move(observer);
}

void Backend::ControlsUpdated() {
  if (m_updateObserver) m_updateObserver(std::chrono::steady_clock::now());
}

Backend::Script Backend::TakeScript() {
  if (m_scripts.empty()) return nullptr;
  Script script = std::move(m_scripts.front());
  m_scripts.pop_front();
  return script;
}

BaseUnits Backend::DialogBaseUnits(const AFX_DIALOG_TEMPLATE& dialog) {
  const int points = dialog.wPointSize != 0 ? dialog.wPointSize : 8;
  return BaseUnits{ScaleRounded(6, points, 8), ScaleRounded(13, points, 8)};
}

std::unique_ptr<NativeDialog> Backend::CreateDialogWindow(const DialogLayout& layout,
                                                          DialogEvents& events) {
  ++m_dialogsOpened;
  return std::make_unique<Window>(*this, layout, events);
}

int Backend::MessageBox(NativeDialog* /*owner*/, std::u16string_view text,
                        std::u16string_view caption, UINT type) {
  MessageBoxRecord record{Utf8FromUtf16(text), Utf8FromUtf16(caption), type, 0};
  record.answer = m_answerer ? m_answerer(record) : IDOK;
  m_messageBoxes.push_back(record);
  return record.answer;
}

void Backend::WaitCursorChanged(WaitCursorChange change, int depth) {
  switch (change) {
    case WaitCursorChange::Begin:
      ++m_waitCursor.begins;
      break;
    case WaitCursorChange::Restore:
      ++m_waitCursor.restores;
      break;
    case WaitCursorChange::End:
      ++m_waitCursor.ends;
      break;
  }
  m_waitCursor.depth = depth;
  m_waitCursor.deepest = std::max(m_waitCursor.deepest, depth);
}

std::string Utf8FromUtf16(std::u16string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::u16string Utf16FromUtf8(std::string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string utf16(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, utf16.data(), units);
  return utf16;
}

}  // namespace afx::headless
