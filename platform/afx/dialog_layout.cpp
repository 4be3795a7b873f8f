#include "dialog_layout.h"

#include <strings.h>

#include <cstdint>

#include "ansi_text.h"

namespace afx {

int ScaleRounded(int value, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = (product < 0 ? -product : product) + half;
  const std::int64_t quotient = magnitude / (denominator < 0 ? -denominator : denominator);
  return static_cast<int>(negative ? -quotient : quotient);
}

ControlKind ClassifyControl(const AFX_DIALOG_ITEM& item) {
  if (item.pszClass == nullptr) return ControlKind::Other;
  if (strcasecmp(item.pszClass, "button") == 0) {
    switch (item.dwStyle & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return ControlKind::PushButton;
      case BS_GROUPBOX:
        return ControlKind::GroupBox;
      default:
        return ControlKind::Other;
    }
  }
  if (strcasecmp(item.pszClass, "static") == 0) return ControlKind::Static;
  if (strcasecmp(item.pszClass, "edit") == 0) return ControlKind::Edit;
  return ControlKind::Other;
}

DialogLayout ComputeDialogLayout(const AFX_DIALOG_TEMPLATE& dialog, BaseUnits baseUnits) {
  auto across = [&](int units) { return ScaleRounded(units, baseUnits.cx, 4); };
  auto down = [&](int units) { return ScaleRounded(units, baseUnits.cy, 8); };

  DialogLayout layout{};
  layout.dialog = &dialog;
  layout.baseUnits = baseUnits;
  layout.clientWidth = across(dialog.cx);
  layout.clientHeight = down(dialog.cy);
  layout.caption = AnsiToWide(dialog.pszCaption != nullptr ? dialog.pszCaption : "");
  layout.controls.reserve(dialog.items.size());
  for (const AFX_DIALOG_ITEM& item : dialog.items) {
    ControlLayout control{};
    control.item = &item;
    control.kind = ClassifyControl(item);
    const int left = across(item.x);
    const int top = down(item.y);
    control.bounds = RECT{left, top, left + across(item.cx), top + down(item.cy)};
    control.text = AnsiToWide(item.pszText != nullptr ? item.pszText : "");
    layout.controls.push_back(std::move(control));
  }
  return layout;
}

}  // namespace afx
