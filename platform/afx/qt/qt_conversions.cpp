#include "qt/qt_conversions.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>

namespace afx::qt {

QIcon ToIcon(const Icon* big, const Icon* small) {
  QIcon icon;
  for (const Icon* source : {big, small == big ? nullptr : small}) {
    if (source == nullptr) continue;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(source->file.data()),
                                               static_cast<qsizetype>(source->file.size()));
    QBuffer device(&bytes);
    QImageReader reader(&device, "ico");
    for (int i = 0; i < reader.imageCount(); ++i) {
      const QImage image = reader.jumpToImage(i) ? reader.read() : QImage();
      if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
  }
  return icon;
}

}  // namespace afx::qt
