// The whole program on its real window (Qt, offscreen) against the reference service, as an
// operator meets it: the kind of window, where the focus and the default frame go, a run by the
// button, every text fitting its control, and Enter on "Exit".
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>

#include "afxbackend.h"
#include "app/startup.h"
#include "dialog_layout.h"
#include "qt/afx_qt.h"
#include "qt/dialog_font.h"
#include "res/resource.h"
#include "res/resource_module.h"
#include "resource_lookup.h"
#include "soap/service_location.h"
#include "support/free_port.h"
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

QStyle::State StyleState(QWidget& widget) {
  QStyleOption option;
  option.initFrom(&widget);
  return option.state;
}

// Whether a pixel of the widget has the colour of a selection.
bool ShowsSelection(QWidget& edit) {
  const QRgb highlight = edit.palette().color(QPalette::Active, QPalette::Highlight).rgb();
  const QImage image = edit.grab().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == highlight) return true;
    }
  }
  return false;
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
    EXPECT_TRUE(StyleState(*exit).testFlag(QStyle::State_KeyboardFocusChange));  // the mark
    QTest::keyClick(exit, Qt::Key_Down);  // the arrows stay within the buttons' group
    EXPECT_TRUE(call->hasFocus());
    QTest::keyClick(call, Qt::Key_Left);
    EXPECT_TRUE(exit->hasFocus());
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

    // The request box shows its selection only while it has the focus; it keeps it.
    auto* request = Control<QPlainTextEdit>(window, IDC_REQUEST);
    while (!request->hasFocus()) QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(ShowsSelection(*request));  // the dialog manager selected the text
    QTest::keyClick(request, Qt::Key_Tab);
    EXPECT_FALSE(ShowsSelection(*request));
    EXPECT_TRUE(request->textCursor().hasSelection());

    // Nothing listens now: the error box, and the focus back where it was once it is gone.
    SetServiceHost(("127.0.0.1:" + std::to_string(tarvelo_test::FreePort())).c_str());
    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text().toStdString() + " / " + box->windowTitle().toStdString(),
                "Exception occurred - check the network / Error");
      QTest::keyClick(box, Qt::Key_Escape);
    });
    times->setFocus();
    QTest::keyClick(times, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window, 1000));
    EXPECT_EQ(QApplication::focusWidget(), times);

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

// On a screen too small for the template's font, the largest smaller font whose window fits.
TEST(QtWindowFont, ShrinksUntilTheWindowFitsTheScreen) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "tarvelo";
  char* argv[] = {name};
  QApplication application(argc, argv);
  AfxSetResourceModule(&TarveloResourceModule());
  const AFX_DIALOG_TEMPLATE* dialog = afx::FindDialogTemplate(MAKEINTRESOURCE(IDD_TEST_DIALOG));
  AfxSetResourceModule(nullptr);
  ASSERT_NE(dialog, nullptr);
  const QSize frame(2, 24);
  const auto width = [&](const QFont& font) {
    return afx::ComputeDialogLayout(*dialog, afx::qt::MeasureBaseUnits(font)).clientWidth + 2;
  };
  const QFont full = afx::qt::FittingFont(*dialog, QSize(1280, 800), frame);
  EXPECT_EQ(full.pointSizeF(), dialog->wPointSize);
  EXPECT_EQ(afx::qt::MeasureBaseUnits(full).cx, 6) << "is Carlito installed?";
  QFont font = afx::qt::FittingFont(*dialog, QSize(640, 400), frame);
  EXPECT_LE(width(font), 640);
  font.setPointSizeF(font.pointSizeF() + 0.5);
  EXPECT_GT(width(font), 640);
}

}  // namespace
