#include "qt/dialog_font.h"

#include <strings.h>

#include <QFontMetrics>
#include <QStringList>

#include "dialog_layout.h"

namespace afx::qt {
namespace {

bool IsWindowsDialogFace(const char* face) {
  return *face == '\0' || strcasecmp(face, "MS Sans Serif") == 0 ||
         strcasecmp(face, "MS Shell Dlg") == 0 || strcasecmp(face, "MS Shell Dlg 2") == 0 ||
         strcasecmp(face, "Microsoft Sans Serif") == 0;
}

// The smallest size a dialog font is made: below it no text could be read anyway.
constexpr qreal kSmallestPointSize = 4.0;
constexpr qreal kPointStep = 0.5;

}  // namespace

QFont TemplateFont(const AFX_DIALOG_TEMPLATE& dialog) {
  const char* face = dialog.pszTypeface != nullptr ? dialog.pszTypeface : "";
  QFont font;
  if (IsWindowsDialogFace(face)) {
    font.setFamilies({QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans")});
  } else {
    font.setFamilies({QString::fromLatin1(face)});
  }
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(dialog.wPointSize != 0 ? dialog.wPointSize : 8);
  if (dialog.wWeight != 0) font.setWeight(QFont::Weight(dialog.wWeight));
  font.setItalic(dialog.bItalic != 0);
  return font;
}

BaseUnits MeasureBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QFont FittingFont(const AFX_DIALOG_TEMPLATE& dialog, QSize room, QSize frame) {
  QFont font = TemplateFont(dialog);
  for (qreal size = font.pointSizeF(); size >= kSmallestPointSize; size -= kPointStep) {
    font.setPointSizeF(size);
    const BaseUnits units = MeasureBaseUnits(font);
    const QSize window(ScaleRounded(dialog.cx, units.cx, 4) + frame.width(),
                       ScaleRounded(dialog.cy, units.cy, 8) + frame.height());
    if (window.width() <= room.width() && window.height() <= room.height()) return font;
  }
  return font;  // the smallest: as much of the window as can be shown
}

}  // namespace afx::qt
