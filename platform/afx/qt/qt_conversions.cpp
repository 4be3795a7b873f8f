#include "qt/qt_conversions.h"

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

}  // namespace afx::qt
