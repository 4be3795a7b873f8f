// The whole program on its real window (Qt, offscreen) against the reference service: the
// operator types a count, presses the button and Enter, and reads the window; a picture of the
// window after the run is saved for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <type_traits>

#include "afxbackend.h"
#include "app/startup.h"
#include "qt/afx_qt.h"
#include "res/resource.h"
#include "soap/service_location.h"
#include "support/service_process.h"
#include "tarvelo_config.h"

namespace {

constexpr char kDefaultTextUtf8[] = "added string to hello and check code page (čćžđšČĆŽĐŠ)";

// What the operator does once the window is open; set before the application runs.
std::function<void(QWidget&)> g_operator;
bool g_windowSeen = false;

QWidget* OpenWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() &&
        widget->property(afx::qt::kDialogIdProperty).toInt() == IDD_TEST_DIALOG) {
      return widget;
    }
  }
  return nullptr;
}

// The Qt backend as the window program makes it, with the operator let in once the window is up
// and a bound on how long the window may stay open.
std::unique_ptr<afx::WindowBackend> OperatedQtBackend() {
  std::unique_ptr<afx::WindowBackend> backend = afx::qt::CreateBackend();
  QTimer::singleShot(0, [] {
    QWidget* window = OpenWindow();
    if (window == nullptr) return;
    g_windowSeen = true;
    g_operator(*window);
  });
  QTimer::singleShot(120000, [] {
    if (QWidget* window = OpenWindow()) window->close();
  });
  return backend;
}

template <typename Widget>
Widget* Control(QWidget& window, int id) {
  for (QWidget* child : window.findChildren<QWidget*>()) {
    if (child->property(afx::qt::kControlIdProperty).toInt() == id) {
      return qobject_cast<Widget*>(child);
    }
  }
  return nullptr;
}

struct Shown {
  std::string request, response, timesDone, begin, end, diff, average;
};

// A control's text; "<missing>" when the window has no such control.
template <typename Widget>
std::string TextOf(QWidget& window, int id) {
  Widget* const control = Control<Widget>(window, id);
  if (control == nullptr) return "<missing>";
  if constexpr (std::is_same_v<Widget, QPlainTextEdit>) {
    return control->toPlainText().toStdString();
  } else {
    return control->text().toStdString();
  }
}

Shown Read(QWidget& window) {
  Shown shown;
  shown.request = TextOf<QPlainTextEdit>(window, IDC_REQUEST);
  shown.response = TextOf<QPlainTextEdit>(window, IDC_RESPONSE);
  shown.timesDone = TextOf<QLineEdit>(window, IDC_TIMES_DONE);
  shown.begin = TextOf<QLabel>(window, IDC_BEGIN);
  shown.end = TextOf<QLabel>(window, IDC_END);
  shown.diff = TextOf<QLabel>(window, IDC_DIFF);
  shown.average = TextOf<QLabel>(window, IDC_AVERAGE);
  return shown;
}

TEST(QtWindowRun, TheOperatorRunsTheTestAndReadsTheWindow) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  tarvelo_test::ServiceProcess service;
  ASSERT_TRUE(service.running()) << service.error();
  // The window calls this test's service, as tarvelo-cli --service-host does.
  SetServiceHost(service.HostPort().c_str());

  Shown byClick, byEnter;
  bool cursorAfterRun = true, openAfterRun = false;
  std::string title;
  g_operator = [&](QWidget& window) {
    title = window.windowTitle().toStdString();
    auto* times = Control<QLineEdit>(window, IDC_TIMES);
    auto* call = Control<QPushButton>(window, IDOK);
    if (!times || !call) {
      ADD_FAILURE() << "the window lacks the count field or the button";
      window.close();
      return;
    }

    // Two exchanges with a click on the button.
    times->setFocus();
    times->selectAll();
    QTest::keyClicks(times, "2");
    QTest::mouseClick(call, Qt::LeftButton);
    byClick = Read(window);

    // Five with Enter in the count field.
    times->setFocus();
    times->selectAll();
    QTest::keyClicks(times, "5");
    QTest::keyClick(times, Qt::Key_Return);
    QApplication::processEvents();
    byEnter = Read(window);
    cursorAfterRun = QApplication::overrideCursor() != nullptr;
    openAfterRun = window.isVisible();

    const QString directory = QStringLiteral(TARVELO_TEST_OUTPUT_DIR);
    QDir().mkpath(directory);
    EXPECT_TRUE(window.grab().save(directory + "/tarvelo-window-after-run.png"));
    QTest::keyClick(&window, Qt::Key_Escape);
  };
  const char* argv[] = {"tarvelo"};
  afx::SetBackendFactory(&OperatedQtBackend);
  const int exitCode = RunApplication(1, argv);
  afx::SetBackendFactory(nullptr);
  SetServiceHost(nullptr);

  EXPECT_EQ(exitCode, 0);
  ASSERT_TRUE(g_windowSeen);
  EXPECT_EQ(title, "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");  // the template's
  EXPECT_TRUE(openAfterRun);
  EXPECT_FALSE(cursorAfterRun);

  const std::regex clock(R"(\d{2}:\d{2}:\d{2}\.\d{3})");
  const std::regex figure(R"(\d+\.\d{3} sec)");
  const std::string srt = std::string("<srt>") + kDefaultTextUtf8 + "</srt>";
  const std::string result =
      std::string("<simpleMethodResult>Hello ") + kDefaultTextUtf8 + "</simpleMethodResult>";
  struct Run {
    const char* how;
    const Shown& shown;
    const char* done;
  };
  for (const Run& run : {Run{"click", byClick, "2"}, Run{"Enter", byEnter, "5"}}) {
    EXPECT_EQ(run.shown.timesDone, run.done) << run.how;
    EXPECT_NE(run.shown.request.find(srt), std::string::npos) << run.how << run.shown.request;
    EXPECT_NE(run.shown.response.find(result), std::string::npos) << run.how << run.shown.response;
    EXPECT_TRUE(std::regex_match(run.shown.begin, clock)) << run.how << run.shown.begin;
    EXPECT_TRUE(std::regex_match(run.shown.end, clock)) << run.how << run.shown.end;
    EXPECT_TRUE(std::regex_match(run.shown.diff, figure)) << run.how << run.shown.diff;
    EXPECT_TRUE(std::regex_match(run.shown.average, figure)) << run.how << run.shown.average;
  }
}

}  // namespace
