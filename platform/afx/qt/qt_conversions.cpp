#include "qt/qt_conversions.h"

#include <strings.h>

#include <QFontDatabase>
#include <QPixmap>
#include <cstring>

namespace afx::qt {

QImage ToImage(const IconImage& image) {
  QImage result(image.width, image.height, QImage::Format_ARGB32);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(result.scanLine(y), image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                static_cast<std::size_t>(image.width) * sizeof(std::uint32_t));
  }
  return result;
}

QIcon ToIcon(const Icon* big, const Icon* small) {
  QIcon icon;
  for (const Icon* source : {big, small}) {
    if (source == nullptr) continue;
    for (const IconImage& image : source->images)
      icon.addPixmap(QPixmap::fromImage(ToImage(image)));
  }
  return icon;
}

QFont TemplateFont(const AFX_DIALOG_TEMPLATE& dialog) {
  const char* face = dialog.pszTypeface != nullptr ? dialog.pszTypeface : "";
  const bool windowsDialogFace = strcasecmp(face, "MS Sans Serif") == 0 ||
                                 strcasecmp(face, "MS Shell Dlg") == 0 ||
                                 strcasecmp(face, "MS Shell Dlg 2") == 0 ||
                                 strcasecmp(face, "Microsoft Sans Serif") == 0 || *face == '\0';
  QFont font = windowsDialogFace ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                 : QFont(QString::fromLatin1(face));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(dialog.wPointSize != 0 ? dialog.wPointSize : 8);
  if (dialog.wWeight != 0) font.setWeight(QFont::Weight(dialog.wWeight));
  font.setItalic(dialog.bItalic != 0);
  return font;
}

}  // namespace afx::qt
