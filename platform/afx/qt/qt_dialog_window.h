// A dialog window made of Qt widgets: the Qt backend's NativeDialog. Internal to the Qt
// backend.
#pragma once

#include <QEventLoop>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "afxbackend.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QPushButton;

namespace afx::qt {

class DialogWindow;

// One control: its widget (owned by the dialog's widget) and what the program set in it.
struct Control {
  ControlKind kind = ControlKind::Other;
  int id = 0;
  DWORD style = 0;
  QWidget* widget = nullptr;
  QPushButton* button = nullptr;
  QGroupBox* group = nullptr;
  QLabel* label = nullptr;
  QLineEdit* line = nullptr;
  QPlainTextEdit* box = nullptr;
  std::u16string programText;  // the last text the program set
  bool edited = false;         // the operator has changed it since
  int limit = 30000;
  bool settingText = false;
};

// The top-level widget: it turns the window system's close, paint and key events into the
// dialog manager's events.
class DialogWidget final : public QWidget {
 public:
  explicit DialogWidget(DialogWindow& window);

  QPainter* Painter() const { return m_painter; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DialogWindow& m_window;
  QPainter* m_painter = nullptr;
};

class DialogWindow final : public NativeDialog {
 public:
  DialogWindow(const DialogLayout& layout, DialogEvents& events, const QFont& font);
  ~DialogWindow() override;

  void SetCaption(std::u16string_view text) override;
  void SetControlText(int index, std::u16string_view text) override;
  std::u16string ControlText(int index) const override;
  void SetTextLimit(int index, int limit) override;
  void SetSelection(int index, int start, int end) override;
  void SetFocus(int index) override;
  int FocusIndex() const override;
  void SetIcon(const Icon* icon, bool big) override;
  bool IsIconic() const override;
  SIZE ClientSize() const override;
  void BeginPaint() override {}
  void EndPaint() override {}
  void EraseIconBackground() override;
  void DrawIcon(int x, int y, const Icon& icon, HICON handle) override;
  void Show() override;
  void RunModalLoop() override;
  void EndModalLoop() override;

  QWidget* Widget() const { return m_widget.get(); }
  DialogEvents& Events() { return m_events; }
  // Reports a key to the dialog manager; a focus move it makes carries `reason`, so that the
  // style shows the focus as moved by the keyboard. False: the key is the control's own.
  bool ReportKey(DialogKey key, Qt::FocusReason reason);
  // The default button's frame goes to the push button with the focus, and back to the
  // template's default button when the focus is on any other control.
  void MoveDefaultFrame(const Control* focused);
  bool Ended() const { return m_ended; }
  // The control whose widget is watched or holds it; null for none.
  const Control* ControlOf(const QObject* watched) const;

 private:
  void MakeControl(const ControlLayout& layout, int index);

  DialogEvents& m_events;
  std::unique_ptr<DialogWidget> m_widget;
  std::vector<Control> m_controls;
  const Icon* m_bigIcon = nullptr;
  const Icon* m_smallIcon = nullptr;
  QEventLoop* m_loop = nullptr;
  bool m_ended = false;
  Qt::FocusReason m_focusReason = Qt::OtherFocusReason;
  DWORD m_style = 0;
};

}  // namespace afx::qt
