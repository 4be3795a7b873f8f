#include "qt/qt_display.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "afx_state.h"
#include "qt/afx_qt.h"

namespace afx::qt {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The first thing Qt said while connecting: the most telling reason when it then gives up.
std::string& FirstMessage() {
  static std::string message;
  return message;
}

void OnStartMessage(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
  std::string& first = FirstMessage();
  if (first.empty()) first = text.section(QLatin1Char('\n'), 0, 0).toStdString();
  if (type != QtFatalMsg) return;
  std::fprintf(stderr, "%s: cannot open a window: %s\n", ExecutableName().c_str(), first.c_str());
  std::_Exit(1);
}

}  // namespace

std::string MissingDisplay() {
  if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return {};
  return "no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set)";
}

std::unique_ptr<QApplication> ConnectToDisplay(int& argc, char** argv) {
  const QtMessageHandler previous = qInstallMessageHandler(&OnStartMessage);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  FirstMessage().clear();
  return application;
}

}  // namespace afx::qt
