// Opening the connection to the display: the process's QApplication. Internal to the Qt backend.
#pragma once

#include <QApplication>
#include <memory>

namespace afx::qt {

// The QApplication, connected to the display. When Qt cannot connect (a display that is named
// but not there, a missing platform plugin), the process ends with exit code 1 after one line
// on standard error that says why, rather than with Qt's abort.
std::unique_ptr<QApplication> ConnectToDisplay(int& argc, char** argv);

}  // namespace afx::qt
