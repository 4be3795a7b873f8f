// A dialog window held in memory: the headless backend's NativeDialog.
#pragma once

#include <string>
#include <vector>

#include "headless/afx_headless.h"

namespace afx::headless {

// An edit control's text model: the text, the limit and the selection [anchor, caret).
struct Control {
  ControlKind kind = ControlKind::Other;
  int id = 0;
  DWORD style = 0;
  RECT bounds{};
  std::u16string text;
  int limit = 30000;
  int anchor = 0;
  int caret = 0;

  bool IsEdit() const { return kind == ControlKind::Edit; }
  bool IsReadOnly() const { return (style & ES_READONLY) != 0; }
  bool IsMultiLine() const { return (style & ES_MULTILINE) != 0; }
  bool IsEnabled() const { return (style & WS_DISABLED) == 0; }
  bool TakesFocus() const {
    return IsEnabled() && (kind == ControlKind::Edit || kind == ControlKind::PushButton);
  }
};

// Typing and pasting into an edit control as its window procedure does.
void TypeInto(Control& control, std::u16string_view typed);
void PasteInto(Control& control, std::u16string_view pasted);
void SelectRange(Control& control, int start, int end);

class Window final : public NativeDialog {
 public:
  Window(Backend& backend, const DialogLayout& layout, DialogEvents& events);

  void SetCaption(std::u16string_view text) override { m_caption = text; }
  void SetControlText(int index, std::u16string_view text) override;
  std::u16string ControlText(int index) const override;
  void SetTextLimit(int index, int limit) override;
  void SetSelection(int index, int start, int end) override;
  void SetFocus(int index) override;
  int FocusIndex() const override { return m_focus; }
  void SetIcon(const Icon* icon, bool big) override { (big ? m_bigIcon : m_smallIcon) = icon; }
  bool IsIconic() const override { return m_iconic; }
  SIZE ClientSize() const override { return m_client; }
  void ControlsUpdated() override { m_backend.ControlsUpdated(); }
  void BeginPaint() override { ++m_paintDepth; }
  void EndPaint() override { --m_paintDepth; }
  void EraseIconBackground() override { ++m_erasures; }
  void DrawIcon(int x, int y, const Icon& icon, HICON handle) override;
  void Show() override { m_shown = true; }
  void RunModalLoop() override;
  void EndModalLoop() override { m_ended = true; }

  bool IsOpen() const { return m_shown && !m_ended; }
  Control* Find(int id);
  const Control* Find(int id) const;
  int IndexOf(const Control& control) const;
  Control* Focused();
  DialogEvents& Events() { return m_events; }
  const std::u16string& Caption() const { return m_caption; }
  const Icon* WindowIcon(bool big) const { return big ? m_bigIcon : m_smallIcon; }
  void SetIconic(bool iconic) { m_iconic = iconic; }
  void SetClientSize(SIZE size) { m_client = size; }
  const std::vector<DrawnIcon>& DrawnIcons() const { return m_drawn; }
  int IconBackgroundErasures() const { return m_erasures; }

 private:
  Backend& m_backend;
  DialogEvents& m_events;
  std::vector<Control> m_controls;
  std::u16string m_caption;
  int m_focus = -1;
  const Icon* m_bigIcon = nullptr;
  const Icon* m_smallIcon = nullptr;
  bool m_iconic = false;
  SIZE m_client{};
  bool m_shown = false;
  bool m_ended = false;
  int m_paintDepth = 0;
  int m_erasures = 0;
  std::vector<DrawnIcon> m_drawn;
};

}  // namespace afx::headless
