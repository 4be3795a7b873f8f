// Between the framework's values and Qt's. Internal to the Qt backend.
#pragma once

#include <QIcon>
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

// Every image of the icons' .ico files, as Qt's image reader reads them (null icons and a second
// mention of the same icon are left out).
QIcon ToIcon(const Icon* big, const Icon* small = nullptr);

}  // namespace afx::qt
