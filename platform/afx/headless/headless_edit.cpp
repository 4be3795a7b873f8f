// The edit control's rules for typing and pasting.
#include <algorithm>

#include "headless/headless_window.h"

namespace afx::headless {
namespace {

int Length(const Control& control) {
  return static_cast<int>(control.text.size());
}

// Replaces the selection with insert and puts the caret after it.
void ReplaceSelection(Control& control, std::u16string_view insert) {
  const int start = std::min(control.anchor, control.caret);
  const int end = std::max(control.anchor, control.caret);
  control.text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start),
                       insert);
  control.anchor = control.caret = start + static_cast<int>(insert.size());
}

int SelectedLength(const Control& control) {
  return std::max(control.anchor, control.caret) - std::min(control.anchor, control.caret);
}

bool Accepts(const Control& control, char16_t first) {
  if (!control.IsMultiLine() && first < 0x20) return false;
  if ((control.style & ES_NUMBER) != 0 && (first < u'0' || first > u'9')) return false;
  return true;
}

}  // namespace

void SelectRange(Control& control, int start, int end) {
  const int length = Length(control);
  if (start < 0) {
    control.anchor = control.caret;  // -1: no selection, the caret stays
    return;
  }
  if (end < 0 || end > length) end = length;
  control.anchor = std::min(start, length);
  control.caret = end;
}

void TypeInto(Control& control, std::u16string_view typed) {
  if (!control.IsEdit() || control.IsReadOnly()) return;
  std::size_t at = 0;
  while (at < typed.size()) {
    // One character: a surrogate pair is typed as a whole.
    const std::size_t units = IS_HIGH_SURROGATE(typed[at]) && at + 1 < typed.size() ? 2 : 1;
    const std::u16string_view character = typed.substr(at, units);
    at += units;
    if (!Accepts(control, character.front())) continue;
    if (Length(control) - SelectedLength(control) + static_cast<int>(units) > control.limit) {
      continue;  // full: the keystroke is refused
    }
    if (control.IsMultiLine() && character == u"\n") {
      ReplaceSelection(control, u"\r\n");
    } else {
      ReplaceSelection(control, character);
    }
  }
}

void PasteInto(Control& control, std::u16string_view pasted) {
  if (!control.IsEdit() || control.IsReadOnly()) return;
  if (!control.IsMultiLine()) pasted = pasted.substr(0, pasted.find_first_of(u"\r\n"));
  const int room = std::max(0, control.limit - (Length(control) - SelectedLength(control)));
  std::size_t take = std::min(pasted.size(), static_cast<std::size_t>(room));
  if (take > 0 && take < pasted.size() && IS_HIGH_SURROGATE(pasted[take - 1])) --take;
  ReplaceSelection(control, pasted.substr(0, take));
}

}  // namespace afx::headless
