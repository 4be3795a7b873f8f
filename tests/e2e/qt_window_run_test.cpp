// The whole program on its real window (Qt, offscreen) against the reference service, as an
// operator meets it: the kind of window, where the focus and the default frame go, a run by the
// button, every text fitting its control, and Enter on "Exit".
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>

#include "afxbackend.h"
#include "app/startup.h"
#include "qt/afx_qt.h"
#include "res/resource.h"
#include "soap/service_location.h"
#include "support/service_process.h"
#include "support/window_driver.h"

namespace {

constexpr char kDefaultTextUtf8[] = "added string to hello and check code page (čćžđšČĆŽĐŠ)";

// What the operator does once the window is open; set before the application runs.
std::function<void(QWidget&)> g_operator;

// The Qt backend as the window program makes it, with the operator let in once the window is
// up; the window is closed when the operator is done, if it is still open.
std::unique_ptr<afx::WindowBackend> OperatedQtBackend() {
  std::unique_ptr<afx::WindowBackend> backend = afx::qt::CreateBackend();
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() &&
          window->property(afx::qt::kDialogIdProperty).toInt() == IDD_TEST_DIALOG) {
        g_operator(*window);
        if (window->isVisible()) window->close();
      }
    }
  });
  return backend;
}

template <typename Widget>
Widget* Control(QWidget& window, int id) {
  for (Widget* control : window.findChildren<Widget*>()) {
    if (control->property(afx::qt::kControlIdProperty).toInt() == id) return control;
  }
  return nullptr;
}

// The default button's frame is a dark line around the button's bevel.
bool ShowsDefaultFrame(QPushButton& button) {
  const QImage image = button.grab().toImage();
  return image.pixel(0, image.height() / 2) == button.palette().color(QPalette::Shadow).rgb();
}

// Every label's text on one line (SS_LEFT wraps at words) within the label, and every
// button's within the button.
void ExpectTextsFit(QWidget& window) {
  for (QLabel* label : window.findChildren<QLabel*>()) {
    const QFontMetrics metrics = label->fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
        << label->text().toStdString();
    EXPECT_LT(label->heightForWidth(label->width()), 2 * metrics.height())
        << label->text().toStdString();
  }
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width())
        << button->text().toStdString();
  }
}

TEST(QtWindowRun, TheOperatorRunsTheTestAndReadsTheWindow) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  tarvelo_test::ServiceProcess service;
  ASSERT_TRUE(service.running()) << service.error();
  SetServiceHost(service.HostPort().c_str());  // as tarvelo-cli --service-host does

  tarvelo_test::WindowFields shown;
  bool operated = false;
  g_operator = [&](QWidget& window) {
    auto* call = Control<QPushButton>(window, IDOK);
    auto* exit = Control<QPushButton>(window, IDCANCEL);
    auto* times = Control<QLineEdit>(window, IDC_TIMES);
    ASSERT_TRUE(call && exit && times);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    operated = true;
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint) ||
                 flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const QList<QSize> iconSizes = window.windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)) && iconSizes.contains(QSize(16, 16)));

    // The focus starts on the default button; on "Exit" the frame is Exit's, in a field it
    // goes back to the default button.
    EXPECT_TRUE(call->hasFocus() && ShowsDefaultFrame(*call));
    QTest::keyClick(call, Qt::Key_Tab);
    EXPECT_TRUE(exit->hasFocus() && ShowsDefaultFrame(*exit) && !ShowsDefaultFrame(*call));
    QTest::keyClick(exit, Qt::Key_Tab);
    EXPECT_TRUE(ShowsDefaultFrame(*call) && !ShowsDefaultFrame(*exit));

    times->setFocus();
    times->selectAll();
    QTest::keyClicks(times, "2");
    QTest::mouseClick(call, Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the wait cursor has gone
    const auto label = [&](int id) { return Control<QLabel>(window, id)->text().toStdString(); };
    shown = {Control<QPlainTextEdit>(window, IDC_REQUEST)->toPlainText().toStdString(),
             Control<QPlainTextEdit>(window, IDC_RESPONSE)->toPlainText().toStdString(),
             Control<QLineEdit>(window, IDC_TIMES_DONE)->text().toStdString(),
             label(IDC_BEGIN),
             label(IDC_END),
             label(IDC_DIFF),
             label(IDC_AVERAGE)};
    for (const int id : {IDC_DIFF, IDC_AVERAGE})  // the longest figures of a run within a day
      Control<QLabel>(window, id)->setText("86400.001 sec");
    ExpectTextsFit(window);

    exit->setFocus();
    QTest::keyClick(exit, Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
  };
  // Qt takes none of the arguments: "-reverse" would lay the window out right to left.
  const char* argv[] = {"tarvelo", "-reverse"};
  afx::SetBackendFactory(&OperatedQtBackend);
  const int exitCode = RunApplication(2, argv);
  afx::SetBackendFactory(nullptr);
  SetServiceHost(nullptr);

  EXPECT_EQ(exitCode, 0);
  ASSERT_TRUE(operated) << "the window did not open with its buttons and count field";
  EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(shown.timesDone, "2");
  EXPECT_NE(shown.request.find(std::string("<srt>") + kDefaultTextUtf8 + "</srt>"),
            std::string::npos)
      << shown.request;
  EXPECT_NE(shown.response.find(std::string("<simpleMethodResult>Hello ") + kDefaultTextUtf8 +
                                "</simpleMethodResult>"),
            std::string::npos)
      << shown.response;
  tarvelo_test::ExpectFigures(shown, 2);
}

}  // namespace
