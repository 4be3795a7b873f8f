// The Qt 6 Widgets window backend. This header includes no Qt: the executable that wants real
// windows installs the factory before the framework starts:
//
//   afx::SetBackendFactory(&afx::qt::CreateBackend);
//   return AfxWinMain(...);
//
// The backend makes the process's QApplication (unless one exists) with a one-element argv,
// the executable's name, so that Qt interprets none of the process's arguments, and gives it
// Qt's "Windows" style, the look the dialog templates are made for. Qt sets the C locale from
// the environment when it starts; the backend puts the numeric category back to "C", so that
// formatted numbers keep their decimal point.
#pragma once

#include <memory>
#include <string>

#include "afxbackend.h"

namespace afx::qt {

std::unique_ptr<WindowBackend> CreateBackend();

// What is missing for a window to be shown here, "" when nothing is: a display (DISPLAY), a
// Wayland compositor (WAYLAND_DISPLAY) or a platform named in QT_QPA_PLATFORM.
std::string MissingDisplay();

// The property that names a control's id on the widget the backend makes for it (an int), and
// the property that names a dialog's template id on its window.
inline constexpr char kControlIdProperty[] = "afxControlId";
inline constexpr char kDialogIdProperty[] = "afxDialogId";

}  // namespace afx::qt
