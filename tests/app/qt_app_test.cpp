// The application on the Qt backend: Qt interprets none of the process's arguments.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "afxbackend.h"
#include "app/startup.h"
#include "qt/afx_qt.h"
#include "res/resource.h"
#include "tarvelo_config.h"

namespace {

struct Seen {
  bool windowOpened = false;
  QString platform;
  Qt::LayoutDirection direction = Qt::RightToLeft;
  QString title;
  qsizetype arguments = 0;
};
Seen g_seen;

// The backend the executable would make, and a look at the window once it is open.
std::unique_ptr<afx::WindowBackend> InspectingQtBackend() {
  std::unique_ptr<afx::WindowBackend> backend = afx::qt::CreateBackend();
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (!window->isVisible() ||
          window->property(afx::qt::kDialogIdProperty).toInt() != IDD_TEST_DIALOG) {
        continue;
      }
      g_seen.windowOpened = true;
      g_seen.platform = QGuiApplication::platformName();
      g_seen.direction = QGuiApplication::layoutDirection();
      g_seen.title = window->windowTitle();
      g_seen.arguments = QCoreApplication::arguments().size();
      QTest::keyClick(window, Qt::Key_Escape);
    }
  });
  return backend;
}

TEST(QtApplicationTest, QtOptionsOnTheCommandLineChangeNothing) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  afx::SetBackendFactory(&InspectingQtBackend);
  // (A "-style" would not show: the backend sets the style itself.)
  const char* argv[] = {"tarvelo", "-platform", "xcb", "-reverse", "-title", "wrong"};
  const int exitCode = RunApplication(6, argv);
  afx::SetBackendFactory(nullptr);

  EXPECT_EQ(exitCode, 0);
  ASSERT_TRUE(g_seen.windowOpened);
  EXPECT_EQ(g_seen.platform, "offscreen");
  EXPECT_EQ(g_seen.direction, Qt::LeftToRight);
  EXPECT_EQ(g_seen.title.toStdString(), "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
  EXPECT_EQ(g_seen.arguments, 1);
}

}  // namespace
