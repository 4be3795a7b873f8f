// memory-window-driver: the window program with a hand on its button, for measuring its peak
// memory. Benchmark use only.
//
// It runs the very application of `tarvelo` on the Qt backend (run it with
// QT_QPA_PLATFORM=offscreen), and once the window is up it types the count into the count
// field, presses "Call WebService", waits for the run to end and presses "Exit", as an
// operator would. The window program reads no options, so the service host is set here.
//
//   memory-window-driver --service-host HOST:PORT [--times N]
//
// Prints "timesDone=N" on standard output. Exit status: 0 when the run did every exchange, 1
// when it stopped early or the window did not behave, 2 for bad options.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "afxwin.h"
#include "app/startup.h"
#include "qt/afx_qt.h"
#include "res/resource.h"
#include "soap/service_location.h"

namespace {

constexpr int kDeadlineMs = 600'000;  // nothing may keep the program waiting longer

struct Outcome {
  std::string times = "100";
  std::string timesDone;
  std::string problem;
};

Outcome g_outcome;

QWidget* OpenWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() &&
        widget->property(afx::qt::kDialogIdProperty).toInt() == IDD_TEST_DIALOG)
      return widget;
  return nullptr;
}

QWidget* Control(QWidget& window, int id) {
  for (QWidget* child : window.findChildren<QWidget*>())
    if (child->property(afx::qt::kControlIdProperty).toInt() == id) return child;
  return nullptr;
}

QString ControlText(QWidget* control) {
  if (auto* line = qobject_cast<QLineEdit*>(control)) return line->text();
  if (auto* text = qobject_cast<QPlainTextEdit*>(control)) return text->toPlainText();
  return {};
}

// Types the count, presses the button (the run happens inside the click), reads the count of
// exchanges done and presses Exit.
void Drive() {
  QWidget* window = OpenWindow();
  if (window == nullptr) {
    g_outcome.problem = "no window is open";
    QApplication::exit(1);
    return;
  }
  auto* times = qobject_cast<QLineEdit*>(Control(*window, IDC_TIMES));
  auto* call = qobject_cast<QPushButton*>(Control(*window, IDOK));
  auto* exit = qobject_cast<QPushButton*>(Control(*window, IDCANCEL));
  if (times == nullptr || call == nullptr || exit == nullptr) {
    g_outcome.problem = "the window lacks the count field or its buttons";
    window->close();
    return;
  }
  // Typed as an operator types: the window takes what the operator edits, not what a program
  // sets.
  times->setFocus();
  times->selectAll();
  for (const QChar typed : QString::fromStdString(g_outcome.times)) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(typed));
    QApplication::sendEvent(times, &press);
  }
  call->click();
  g_outcome.timesDone = ControlText(Control(*window, IDC_TIMES_DONE)).toStdString();
  exit->click();
}

// A message box means the run failed: it is noted and dismissed, so that the run can end.
void DismissMessageBoxes() {
  if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
    g_outcome.problem = "message box: " + box->text().toStdString();
    box->done(0);
  }
}

// The Qt backend, with the driver started once the process's QApplication exists.
std::unique_ptr<afx::WindowBackend> CreateDrivenBackend() {
  std::unique_ptr<afx::WindowBackend> backend = afx::qt::CreateBackend();
  QTimer::singleShot(0, &Drive);
  auto* watcher = new QTimer(QApplication::instance());
  QObject::connect(watcher, &QTimer::timeout, &DismissMessageBoxes);
  watcher->start(50);
  QTimer::singleShot(kDeadlineMs, [] {
    std::fputs("memory-window-driver: the run did not end in time\n", stderr);
    std::_Exit(1);
  });
  return backend;
}

}  // namespace

int main(int argc, char** argv) {
  const char* host = nullptr;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--service-host") == 0) {
      host = argv[i + 1];
    } else if (std::strcmp(argv[i], "--times") == 0) {
      g_outcome.times = argv[i + 1];
    } else {
      host = nullptr;
      break;
    }
  }
  if (host == nullptr || argc % 2 == 0) {
    std::fputs("Usage: memory-window-driver --service-host HOST:PORT [--times N]\n", stderr);
    return 2;
  }
  SetServiceHost(host);
  afx::SetBackendFactory(&CreateDrivenBackend);
  const char* const programArgv[] = {"tarvelo"};
  RunApplication(1, programArgv);

  if (!g_outcome.problem.empty())
    std::fprintf(stderr, "memory-window-driver: %s\n", g_outcome.problem.c_str());
  std::printf("timesDone=%s\n", g_outcome.timesDone.c_str());
  return g_outcome.problem.empty() && g_outcome.timesDone == g_outcome.times ? 0 : 1;
}
