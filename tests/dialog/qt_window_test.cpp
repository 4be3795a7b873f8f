// The real window: the test dialog on the Qt backend, offscreen. Opens it, checks the widgets,
// types into the fields, presses Enter, Tab and Escape, and saves a picture of the window.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstdlib>
#include <functional>

#include "dialog_fixture.h"
#include "dialog_layout.h"
#include "qt/afx_qt.h"
#include "qt/dialog_font.h"
#include "resource_lookup.h"
#include "tarvelo_config.h"

namespace {

constexpr char kDefaultTextUtf8[] = "added string to hello and check code page (čćžđšČĆŽĐŠ)";

class QtWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("LC_ALL", "C.UTF-8", 1);  // Qt takes the locale from here when it starts
    s_backend = afx::qt::CreateBackend().release();
  }
  static void TearDownTestSuite() {
    delete s_backend;
    s_backend = nullptr;
  }

  QtWindowTest() { AfxSetResourceModule(&TarveloResourceModule()); }
  ~QtWindowTest() override { AfxSetResourceModule(nullptr); }

  // Runs the dialog; `inside` runs once the window is up, in its modal loop.
  INT_PTR Run(CDialog& dialog, std::function<void(QWidget&)> inside) {
    QTimer::singleShot(0, [inside] {
      QWidget* window = OpenWindow();
      if (window == nullptr) {
        ADD_FAILURE() << "no window is open";
        return;
      }
      EXPECT_TRUE(QTest::qWaitForWindowActive(window));
      inside(*window);
    });
    // Nothing in the test may keep the loop waiting.
    QTimer::singleShot(20000, [] {
      if (QWidget* window = OpenWindow()) window->close();
    });
    return dialog.DoModal();
  }

  static QWidget* OpenWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible() &&
          widget->property(afx::qt::kDialogIdProperty).toInt() == IDD_TEST_DIALOG) {
        return widget;
      }
    }
    return nullptr;
  }

  template <typename Widget>
  static Widget* Control(QWidget& window, int id) {
    for (QWidget* child : window.findChildren<QWidget*>()) {
      if (child->property(afx::qt::kControlIdProperty).toInt() == id) {
        return qobject_cast<Widget*>(child);
      }
    }
    return nullptr;
  }

  static int FocusedId(QWidget& window) {
    QWidget* focused = window.focusWidget();
    while (focused != nullptr && !focused->property(afx::qt::kControlIdProperty).isValid()) {
      focused = focused->parentWidget();
    }
    return focused != nullptr ? focused->property(afx::qt::kControlIdProperty).toInt() : 0;
  }

  static afx::WindowBackend* s_backend;
  afx::ScopedBackend m_useBackend{*s_backend};
  tarvelo_test::ScopedAnsiCodePage m_windows1250{1250};
};

afx::WindowBackend* QtWindowTest::s_backend = nullptr;

TEST_F(QtWindowTest, QtSeesNoArgumentsAndNumbersKeepTheirPoint) {
  EXPECT_EQ(QCoreApplication::arguments().size(), 1);
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_STRNE(std::setlocale(LC_CTYPE, nullptr), "C");  // Qt did take the rest
  char number[16];
  std::snprintf(number, sizeof number, "%.3f", 1.5);
  EXPECT_STREQ(number, "1.500");
}

TEST_F(QtWindowTest, TheWindowShowsTheTemplateWithTheDefaults) {
  CObservedSoapTestDlg dialog;
  Run(dialog, [&](QWidget& window) {
    EXPECT_EQ(window.windowTitle().toStdString(),
              "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());  // fixed size
    EXPECT_FALSE(window.windowIcon().isNull());
    const QList<QSize> iconSizes = window.windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));

    auto* text = Control<QLineEdit>(window, IDC_TEXT);
    auto* times = Control<QLineEdit>(window, IDC_TIMES);
    auto* done = Control<QLineEdit>(window, IDC_TIMES_DONE);
    auto* request = Control<QPlainTextEdit>(window, IDC_REQUEST);
    auto* response = Control<QPlainTextEdit>(window, IDC_RESPONSE);
    ASSERT_TRUE(text && times && done && request && response);
    EXPECT_EQ(text->text().toStdString(), kDefaultTextUtf8);
    EXPECT_EQ(times->text(), "5");
    EXPECT_EQ(done->text(), "0");
    EXPECT_TRUE(request->toPlainText().isEmpty());
    EXPECT_TRUE(response->toPlainText().isEmpty());
    for (int id : {IDC_BEGIN, IDC_END, IDC_AVERAGE, IDC_DIFF}) {
      auto* label = Control<QLabel>(window, id);
      ASSERT_NE(label, nullptr) << id;
      EXPECT_TRUE(label->text().isEmpty()) << id;
    }

    EXPECT_EQ(text->maxLength(), 128);
    EXPECT_EQ(times->maxLength(), 4);
    EXPECT_FALSE(text->isReadOnly());
    EXPECT_FALSE(times->isReadOnly());
    EXPECT_TRUE(done->isReadOnly());
    EXPECT_TRUE(times->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_TRUE(done->alignment().testFlag(Qt::AlignHCenter));
    for (QPlainTextEdit* box : {request, response}) {
      EXPECT_TRUE(box->isReadOnly());
      EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::NoWrap);
      EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
      EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
      EXPECT_TRUE(box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
      EXPECT_TRUE(box->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    }
    auto* call = Control<QPushButton>(window, IDOK);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->text(), "Call WebService");
    EXPECT_TRUE(call->isDefault());
    EXPECT_EQ(FocusedId(window), IDOK);
    QTest::keyClick(&window, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.runs, 0);
}

TEST_F(QtWindowTest, TypingPastingEnterTabAndEscapeWorkAsInADialog) {
  CObservedSoapTestDlg dialog;
  const INT_PTR result = Run(dialog, [&](QWidget& window) {
    auto* text = Control<QLineEdit>(window, IDC_TEXT);
    auto* times = Control<QLineEdit>(window, IDC_TIMES);
    auto* request = Control<QPlainTextEdit>(window, IDC_REQUEST);
    ASSERT_TRUE(text && times && request);

    // Tab walks the template order, and into a field selects its text.
    std::vector<int> order;
    for (int i = 0; i < 7; ++i) {
      QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
      order.push_back(FocusedId(window));
    }
    EXPECT_EQ(order, (std::vector<int>{IDCANCEL, IDC_TEXT, IDC_REQUEST, IDC_RESPONSE, IDC_TIMES,
                                       IDC_TIMES_DONE, IDOK}));
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(FocusedId(window), IDC_TIMES);
    QTest::keyClicks(times, "x1y2z3");  // replaces the selected "5"; any characters, 4 at most
    EXPECT_EQ(times->text(), "x1y2");

    QApplication::clipboard()->setText("987654");
    times->selectAll();
    times->paste();
    EXPECT_EQ(times->text(), "9876");

    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, QString(130, QChar('b')));
    EXPECT_EQ(text->text(), QString(128, QChar('b')));

    request->setFocus();
    QTest::keyClicks(request, "typed");
    EXPECT_TRUE(request->toPlainText().isEmpty());

    // The window's texts reach the members through the framework.
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_strTimes, "9876");
    EXPECT_EQ(dialog.m_strText.GetLength(), 128);

    // Enter in a field runs the test and leaves the window open; so does the button.
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(times, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::mouseClick(Control<QPushButton>(window, IDOK), Qt::LeftButton);
    EXPECT_EQ(dialog.runs, 3);
    EXPECT_TRUE(window.isVisible());

    // Enter on Exit closes.
    Control<QPushButton>(window, IDCANCEL)->setFocus();
    QTest::keyClick(window.focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dialog.runs, 3);
}

// What the style is told about a button: the focus mark is drawn from these.
QStyle::State StyleState(QWidget& widget) {
  QStyleOption option;
  option.initFrom(&widget);
  return option.state;
}

// The default button's frame is a dark line around the button's bevel.
bool ShowsDefaultFrame(QPushButton& button) {
  const QImage image = button.grab().toImage();
  return image.pixel(0, image.height() / 2) == button.palette().color(QPalette::Shadow).rgb();
}

TEST_F(QtWindowTest, KeyboardFocusIsMarkedAndTheDefaultFrameFollowsIt) {
  CObservedSoapTestDlg dialog;
  Run(dialog, [&](QWidget& window) {
    auto* call = Control<QPushButton>(window, IDOK);
    auto* exit = Control<QPushButton>(window, IDCANCEL);
    auto* text = Control<QLineEdit>(window, IDC_TEXT);
    ASSERT_TRUE(call && exit && text);
    auto focusAfter = [&](Qt::Key key) {
      QTest::keyClick(window.focusWidget(), key);
      return FocusedId(window);
    };

    // Tab to Exit: the focus mark and the default frame are Exit's.
    EXPECT_FALSE(StyleState(*call).testFlag(QStyle::State_KeyboardFocusChange));
    EXPECT_EQ(focusAfter(Qt::Key_Tab), IDCANCEL);
    EXPECT_TRUE(StyleState(*exit).testFlag(QStyle::State_HasFocus));
    EXPECT_TRUE(StyleState(*exit).testFlag(QStyle::State_KeyboardFocusChange));
    EXPECT_TRUE(ShowsDefaultFrame(*exit));
    EXPECT_FALSE(ShowsDefaultFrame(*call));

    // The arrows stay within the buttons' group.
    EXPECT_EQ(focusAfter(Qt::Key_Down), IDOK);
    EXPECT_EQ(focusAfter(Qt::Key_Up), IDCANCEL);
    EXPECT_EQ(focusAfter(Qt::Key_Right), IDOK);
    EXPECT_EQ(focusAfter(Qt::Key_Left), IDCANCEL);

    // In an edit field the default frame goes back to the default button, and the arrows move
    // the caret.
    EXPECT_EQ(focusAfter(Qt::Key_Tab), IDC_TEXT);
    EXPECT_TRUE(ShowsDefaultFrame(*call));
    EXPECT_FALSE(ShowsDefaultFrame(*exit));
    text->setCursorPosition(3);
    EXPECT_EQ(focusAfter(Qt::Key_Right), IDC_TEXT);
    EXPECT_EQ(focusAfter(Qt::Key_Up), IDC_TEXT);
    EXPECT_EQ(text->cursorPosition(), 4);
    QTest::keyClick(&window, Qt::Key_Escape);
  });
}

TEST_F(QtWindowTest, AnEditShowsItsSelectionOnlyWhileItHasTheFocus) {
  CObservedSoapTestDlg dialog;
  Run(dialog, [&](QWidget& window) {
    dialog.m_strRequest = "<soap12:Envelope>selected</soap12:Envelope>";
    dialog.UpdateData(FALSE);
    for (int id : {IDC_TEXT, IDC_REQUEST}) {
      QWidget* edit = Control<QWidget>(window, id);
      ASSERT_NE(edit, nullptr);
      const QColor highlight = edit->palette().color(QPalette::Active, QPalette::Highlight);
      auto highlighted = [&] {
        const QImage image = edit->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
          for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == highlight.rgb()) return true;
          }
        }
        return false;
      };
      while (FocusedId(window) != id) QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
      EXPECT_TRUE(highlighted()) << id;  // the dialog manager selected the text
      QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
      EXPECT_FALSE(highlighted()) << id;
    }
    // Hidden, not lost.
    EXPECT_TRUE(Control<QPlainTextEdit>(window, IDC_REQUEST)->textCursor().hasSelection());
    QTest::keyClick(&window, Qt::Key_Escape);
  });
}

TEST_F(QtWindowTest, TheFontShrinksUntilTheWindowFitsTheScreen) {
  const AFX_DIALOG_TEMPLATE* dialog = afx::FindDialogTemplate(MAKEINTRESOURCE(IDD_TEST_DIALOG));
  ASSERT_NE(dialog, nullptr);
  const QSize frame(2, 24);
  auto windowSize = [&](const QFont& font) {
    const afx::DialogLayout layout =
        afx::ComputeDialogLayout(*dialog, afx::qt::MeasureBaseUnits(font));
    return QSize(layout.clientWidth, layout.clientHeight) + frame;
  };
  // On a screen of 1280 x 800 the template's font, with the template's base units.
  const QFont full = afx::qt::FittingFont(*dialog, QSize(1280, 800), frame);
  EXPECT_EQ(full.pointSizeF(), dialog->wPointSize);
  const afx::BaseUnits units = afx::qt::MeasureBaseUnits(full);
  EXPECT_EQ(units.cx, 6) << "is Carlito installed (scripts/install-deps)?";
  EXPECT_EQ(units.cy, 13);
  // On 640 x 400 (that screen at twice the scale) the largest smaller font whose window fits.
  const QSize small(640, 400);
  QFont font = afx::qt::FittingFont(*dialog, small, frame);
  EXPECT_LT(font.pointSizeF(), full.pointSizeF());
  EXPECT_LE(windowSize(font).width(), small.width());
  EXPECT_LE(windowSize(font).height(), small.height());
  font.setPointSizeF(font.pointSizeF() + 0.5);
  EXPECT_GT(windowSize(font).width(), small.width());
}

TEST_F(QtWindowTest, ACloseRequestFromOutsideIsExit) {
  CObservedSoapTestDlg dialog;
  const INT_PTR result = Run(dialog, [](QWidget& window) { window.close(); });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(OpenWindow(), nullptr);
}

TEST_F(QtWindowTest, MessageBoxesTheWaitCursorAndTheFocusAfterwards) {
  CObservedSoapTestDlg dialog;
  int answer = 0;
  Run(dialog, [&](QWidget& window) {
    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) {
        ADD_FAILURE() << "no message box";
        return;
      }
      EXPECT_EQ(box->text(), "Exception occurred - check the network");
      EXPECT_EQ(box->windowTitle(), "Error");
      EXPECT_EQ(box->icon(), QMessageBox::Critical);
      EXPECT_EQ(box->buttons().size(), 1);
      EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
      QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);  // to the last field, "Times dane"
    dialog.BeginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    answer = dialog.MessageBox("Exception occurred - check the network", "Error", MB_ICONSTOP);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // The dialog is active again, with the focus where it was.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window, 1000));
    EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(window, IDC_TIMES_DONE));
    dialog.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::keyClick(&window, Qt::Key_Escape);
  });
  EXPECT_EQ(answer, IDOK);
}

TEST_F(QtWindowTest, EveryTextFitsItsControlAndThePictureIsSaved) {
  CObservedSoapTestDlg dialog;
  Run(dialog, [&](QWidget& window) {
    // What a run leaves behind, so that the picture shows the window in use.
    dialog.m_strRequest =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap12:Envelope "
        "xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\"><soap12:Body>...";
    dialog.m_strResponse = "<?xml version=\"1.0\"?><simpleMethodResult>Hello added string";
    dialog.m_nTimesDone = 5;
    dialog.UpdateData(FALSE);
    dialog.GetDlgItem(IDC_BEGIN)->SetWindowText("09:05:03.007");
    dialog.GetDlgItem(IDC_END)->SetWindowText("09:05:04.241");
    dialog.GetDlgItem(IDC_DIFF)->SetWindowText("1.234 sec");
    dialog.GetDlgItem(IDC_AVERAGE)->SetWindowText("0.247 sec");
    QApplication::processEvents();

    // A label's text stays on one line (SS_LEFT wraps at words) within the label.
    for (QLabel* label : window.findChildren<QLabel*>()) {
      const int needed = label->fontMetrics().horizontalAdvance(label->text());
      EXPECT_LE(needed, label->width()) << label->text().toStdString();
      EXPECT_LT(label->heightForWidth(label->width()), 2 * label->fontMetrics().height())
          << label->text().toStdString();
      EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
    }
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
      EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width())
          << button->text().toStdString();
    }
    for (QLineEdit* line : window.findChildren<QLineEdit*>()) {
      EXPECT_GE(line->height(), line->fontMetrics().height()) << line->objectName().toStdString();
    }
    // No two controls overlap, apart from the frame of the group box around them.
    std::vector<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (qobject_cast<QGroupBox*>(child) == nullptr) controls.push_back(child);
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        const QRect overlap = controls[i]->geometry() & controls[j]->geometry();
        EXPECT_TRUE(overlap.isEmpty() || overlap.width() <= 2)
            << controls[i]->property(afx::qt::kControlIdProperty).toInt() << " and "
            << controls[j]->property(afx::qt::kControlIdProperty).toInt();
      }
    }

    const QString directory = QStringLiteral(TARVELO_TEST_OUTPUT_DIR);
    QDir().mkpath(directory);
    EXPECT_TRUE(window.grab().save(directory + "/tarvelo-window.png"));
    QTest::keyClick(&window, Qt::Key_Escape);
  });
}

}  // namespace
