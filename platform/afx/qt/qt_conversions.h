// Between the framework's values and Qt's. Internal to the Qt backend.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <string_view>

#include "afxbackend.h"

namespace afx::qt {

inline QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
  return text.toStdU16String();
}

QImage ToImage(const IconImage& image);
// Every image of the icons given (null ones are left out).
QIcon ToIcon(const Icon* big, const Icon* small);

}  // namespace afx::qt
