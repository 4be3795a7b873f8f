// The script's view of a headless dialog.
#include "headless/headless_window.h"

namespace afx::headless {

bool Dialog::Click(int id) {
  Control* control = m_window.Find(id);
  if (!m_window.IsOpen() || control == nullptr || !control->IsEnabled()) return false;
  if (control->kind != ControlKind::PushButton) return Focus(id);
  const int index = m_window.IndexOf(*control);
  m_window.SetFocus(index);
  m_window.Events().ButtonClicked(index);
  return true;
}

bool Dialog::Press(Key key) {
  if (!m_window.IsOpen()) return false;
  m_window.Events().KeyPressed(key);
  return true;
}

bool Dialog::Focus(int id) {
  Control* control = m_window.Find(id);
  if (!m_window.IsOpen() || control == nullptr || !control->TakesFocus()) return false;
  m_window.SetFocus(m_window.IndexOf(*control));
  control->anchor = control->caret = static_cast<int>(control->text.size());
  return true;
}

bool Dialog::SelectAll() {
  Control* control = m_window.Focused();
  if (!m_window.IsOpen() || control == nullptr || !control->IsEdit()) return false;
  SelectRange(*control, 0, -1);
  return true;
}

bool Dialog::Type(std::string_view utf8) {
  Control* control = m_window.Focused();
  if (!m_window.IsOpen() || control == nullptr || !control->IsEdit() || control->IsReadOnly()) {
    return false;
  }
  TypeInto(*control, Utf16FromUtf8(utf8));
  return true;
}

bool Dialog::Paste(std::string_view utf8) {
  Control* control = m_window.Focused();
  if (!m_window.IsOpen() || control == nullptr || !control->IsEdit() || control->IsReadOnly()) {
    return false;
  }
  PasteInto(*control, Utf16FromUtf8(utf8));
  return true;
}

bool Dialog::EnterText(int id, std::string_view utf8) {
  // Deleting the selection first lets an empty text clear the field, as an operator's Delete.
  return Focus(id) && SelectAll() && Paste("") && Type(utf8);
}

bool Dialog::Close() {
  if (!m_window.IsOpen()) return false;
  m_window.Events().CloseRequested();
  return true;
}

bool Dialog::IsOpen() const {
  return m_window.IsOpen();
}

std::string Dialog::Text(int id) const {
  const Control* control = m_window.Find(id);
  return control != nullptr ? Utf8FromUtf16(control->text) : std::string();
}

std::string Dialog::Caption() const {
  return Utf8FromUtf16(m_window.Caption());
}

int Dialog::FocusedId() const {
  const Control* control = const_cast<Window&>(m_window).Focused();
  return control != nullptr ? control->id : 0;
}

int Dialog::TextLimit(int id) const {
  const Control* control = m_window.Find(id);
  return control != nullptr ? control->limit : 0;
}

RECT Dialog::ControlRect(int id) const {
  const Control* control = m_window.Find(id);
  return control != nullptr ? control->bounds : RECT{};
}

SIZE Dialog::ClientSize() const {
  return m_window.ClientSize();
}

const afx::Icon* Dialog::WindowIcon(bool big) const {
  return m_window.WindowIcon(big);
}

void Dialog::SetIconic(bool iconic) {
  m_window.SetIconic(iconic);
}

void Dialog::SetClientSize(int cx, int cy) {
  m_window.SetClientSize(SIZE{cx, cy});
}

void Dialog::Paint() {
  if (m_window.IsOpen()) m_window.Events().PaintRequested();
}

const std::vector<DrawnIcon>& Dialog::DrawnIcons() const {
  return m_window.DrawnIcons();
}

int Dialog::IconBackgroundErasures() const {
  return m_window.IconBackgroundErasures();
}

}  // namespace afx::headless
