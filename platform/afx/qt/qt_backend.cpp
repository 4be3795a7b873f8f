// The Qt backend: the process's QApplication, dialog windows, message boxes and the cursor.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <clocale>
#include <string>

#include "afx_state.h"
#include "qt/afx_qt.h"
#include "qt/dialog_font.h"
#include "qt/qt_conversions.h"
#include "qt/qt_dialog_window.h"
#include "qt/qt_display.h"

namespace afx::qt {
namespace {

QMessageBox::Icon IconFor(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

class Backend final : public WindowBackend {
 public:
  Backend() {
    if (QApplication::instance() == nullptr) {
      // One argument, the program's name: Qt sees none of the process's arguments.
      m_programName = afx::ExecutableName();
      m_argv[0] = m_programName.data();
      m_application = ConnectToDisplay(m_argc, m_argv);
      QGuiApplication::setDesktopFileName(QString::fromStdString(m_programName));
      // Qt took the locale from the environment; numbers are formatted the C way.
      std::setlocale(LC_NUMERIC, "C");
      // The look the templates are drawn for: 3D frames, and a group box's title on its
      // frame line, where the template's coordinates expect it.
      QApplication::setStyle(QStringLiteral("Windows"));
    }
    QApplication::setQuitOnLastWindowClosed(false);
  }

  ~Backend() override {
    if (m_cursorShown) QApplication::restoreOverrideCursor();
  }

  BaseUnits DialogBaseUnits(const AFX_DIALOG_TEMPLATE& dialog) override {
    return MeasureBaseUnits(DialogFont(dialog));
  }

  std::unique_ptr<NativeDialog> CreateDialogWindow(const DialogLayout& layout,
                                                   DialogEvents& events) override {
    return std::make_unique<DialogWindow>(layout, events, DialogFont(*layout.dialog));
  }

  int MessageBox(NativeDialog* owner, std::u16string_view text, std::u16string_view caption,
                 UINT type) override {
    QWidget* parent = nullptr;
    if (auto* window = dynamic_cast<DialogWindow*>(owner)) parent = window->Widget();
    // The one button is OK; Escape and closing the box give OK as well.
    QMessageBox box(IconFor(type), ToQString(caption), ToQString(text), QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // Over a message box the normal cursor shows, as on the real platform.
    if (m_cursorShown) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (m_cursorShown) QApplication::restoreOverrideCursor();
    // The owner is made active again, which gives the focus back to the control that had it;
    // the window manager may otherwise leave the focus nowhere.
    if (parent != nullptr && parent->isVisible()) parent->activateWindow();
    return IDOK;
  }

  void WaitCursorChanged(WaitCursorChange change, int depth) override {
    const bool wanted = depth > 0;
    if (wanted && !m_cursorShown) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      m_cursorShown = true;
    } else if (!wanted && m_cursorShown) {
      QApplication::restoreOverrideCursor();
      m_cursorShown = false;
    } else if (wanted && change == WaitCursorChange::Restore) {
      QApplication::changeOverrideCursor(Qt::WaitCursor);
    }
  }

 private:
  // The template's font, smaller where the window would not fit the screen it opens on: the
  // one at the origin, where the templates place their dialogs.
  static QFont DialogFont(const AFX_DIALOG_TEMPLATE& dialog) {
    const QScreen* screen = QGuiApplication::screenAt(QPoint(0, 0));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return TemplateFont(dialog);
    // The window manager's frame is not known before the window is shown: room for a title
    // bar and a border as the style draws them.
    const QStyle* style = QApplication::style();
    const int border = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QSize frame(border, border + style->pixelMetric(QStyle::PM_TitleBarHeight));
    return FittingFont(dialog, screen->availableGeometry().size(), frame);
  }

  std::string m_programName;
  int m_argc = 1;
  char* m_argv[2] = {nullptr, nullptr};
  std::unique_ptr<QApplication> m_application;
  bool m_cursorShown = false;
};

}  // namespace

std::unique_ptr<WindowBackend> CreateBackend() {
  return std::make_unique<Backend>();
}

}  // namespace afx::qt
