#include "qt/qt_dialog_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <optional>
#include <utility>

#include "dialog_layout.h"
#include "qt/afx_qt.h"
#include "qt/qt_conversions.h"
#include "qt/window_manager_hints.h"

namespace afx::qt {
namespace {

// A multi-line edit control: Windows text with CR LF line ends, and a limit on what the
// operator types or pastes (the program's own texts may be longer).
class MultiLineEdit final : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;
  void SetLimit(int limit) { m_limit = limit; }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.front().isPrint() &&
                           (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (printable && !isReadOnly() && Room() < typed.size()) return;  // full: refused
    QPlainTextEdit::keyPressEvent(event);
  }

  void insertFromMimeData(const QMimeData* source) override {
    if (isReadOnly() || source == nullptr || !source->hasText()) return;
    // The first characters that fit, never half a surrogate pair.
    QString text = source->text();
    qsizetype take = std::min<qsizetype>(text.size(), std::max<qsizetype>(Room(), 0));
    if (take > 0 && take < text.size() && text.at(take - 1).isHighSurrogate()) --take;
    textCursor().insertText(text.left(take));
  }

 private:
  qsizetype Room() const {
    const qsizetype length = document()->characterCount() - 1;
    const qsizetype selected = textCursor().selectedText().size();
    return m_limit - (length - selected);
  }

  int m_limit = 30000;
};

Qt::Alignment EditAlignment(DWORD style) {
  if ((style & ES_CENTER) != 0) return Qt::AlignHCenter | Qt::AlignVCenter;
  if ((style & ES_RIGHT) != 0) return Qt::AlignRight | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

Qt::Alignment LabelAlignment(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT:
      return Qt::AlignRight | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

Qt::WindowFlags WindowFlagsFor(DWORD style) {
  // A caption without the system menu's buttons unless the template asks for them.
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    flags |= Qt::WindowTitleHint;
  } else {
    flags |= Qt::FramelessWindowHint;
  }
  if ((style & WS_SYSMENU) != 0) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((style & WS_MINIMIZEBOX) != 0) flags |= Qt::WindowMinimizeButtonHint;
    if ((style & WS_MAXIMIZEBOX) != 0) flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

// An edit control shows its selection only while it has the focus (the selection itself
// stays). Qt draws the selection of a control without the focus in the inactive colours.
void HideSelectionWithoutFocus(QWidget& edit) {
  QPalette palette = edit.palette();
  palette.setBrush(QPalette::Inactive, QPalette::Highlight,
                   palette.brush(QPalette::Inactive, QPalette::Base));
  palette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                   palette.brush(QPalette::Inactive, QPalette::Text));
  edit.setPalette(palette);
}

// Windows line ends for the program; Qt's paragraphs for the widget.
QString ForDisplay(std::u16string_view text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

std::u16string FromDisplay(const QString& shown) {
  QString text = shown;
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return FromQString(text);
}

}  // namespace

DialogWidget::DialogWidget(DialogWindow& window) : QWidget(nullptr), m_window(window) {}

void DialogWidget::closeEvent(QCloseEvent* event) {
  if (m_window.Ended()) {
    event->accept();
    return;
  }
  // The dialog manager decides: a close request is IDCANCEL.
  event->ignore();
  m_window.Events().CloseRequested();
}

void DialogWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  m_painter = &painter;
  m_window.Events().PaintRequested();
  m_painter = nullptr;
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    m_window.MoveDefaultFrame(m_window.ControlOf(watched));
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() != QEvent::KeyPress || m_window.Ended()) {
    return QWidget::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  // The dialog keys belong to the dialog manager, whatever control has the focus.
  const bool plain = modifiers == Qt::NoModifier;
  std::optional<DialogKey> arrow;
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (plain) return m_window.ReportKey(DialogKey::Enter, Qt::OtherFocusReason);
      break;
    case Qt::Key_Escape:
      if (plain) return m_window.ReportKey(DialogKey::Escape, Qt::OtherFocusReason);
      break;
    case Qt::Key_Tab:
      if (plain) return m_window.ReportKey(DialogKey::Tab, Qt::TabFocusReason);
      break;
    case Qt::Key_Backtab:
      if ((modifiers & ~Qt::ShiftModifier) == Qt::NoModifier) {
        return m_window.ReportKey(DialogKey::BackTab, Qt::BacktabFocusReason);
      }
      break;
    case Qt::Key_Left:
      arrow = DialogKey::Left;
      break;
    case Qt::Key_Up:
      arrow = DialogKey::Up;
      break;
    case Qt::Key_Right:
      arrow = DialogKey::Right;
      break;
    case Qt::Key_Down:
      arrow = DialogKey::Down;
      break;
    default:
      break;
  }
  // The arrows move the focus within a group, unless the control keeps them (an edit control).
  if (arrow && plain) {
    const bool forward = *arrow == DialogKey::Right || *arrow == DialogKey::Down;
    if (m_window.ReportKey(*arrow, forward ? Qt::TabFocusReason : Qt::BacktabFocusReason)) {
      return true;
    }
  }
  // An ES_NUMBER control takes typed digits only.
  const Control* control = m_window.ControlOf(watched);
  if (control != nullptr && control->kind == ControlKind::Edit &&
      (control->style & ES_NUMBER) != 0 &&
      (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
    const QString typed = key->text();
    if (!typed.isEmpty() && typed.front().isPrint() &&
        std::any_of(typed.begin(), typed.end(), [](QChar ch) { return !ch.isDigit(); })) {
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

DialogWindow::DialogWindow(const DialogLayout& layout, DialogEvents& events, const QFont& font)
    : m_events(events), m_widget(std::make_unique<DialogWidget>(*this)) {
  const AFX_DIALOG_TEMPLATE& dialog = *layout.dialog;
  m_style = dialog.dwStyle;
  m_widget->setWindowFlags(WindowFlagsFor(dialog.dwStyle));
  m_widget->setWindowModality(Qt::ApplicationModal);
  m_widget->setFont(font);
  m_widget->setWindowTitle(ToQString(layout.caption));
  m_widget->setFixedSize(layout.clientWidth, layout.clientHeight);
  // The template's place on the screen, asked of the window manager.
  m_widget->move(ScaleRounded(dialog.x, layout.baseUnits.cx, 4),
                 ScaleRounded(dialog.y, layout.baseUnits.cy, 8));
  m_widget->setProperty(kDialogIdProperty, static_cast<int>(dialog.nID));
  m_widget->installEventFilter(m_widget.get());

  m_controls.reserve(layout.controls.size());
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    MakeControl(layout.controls[i], static_cast<int>(i));
  }
  // Group boxes are frames drawn behind the controls they surround.
  for (const Control& control : m_controls) {
    if (control.group != nullptr) control.group->lower();
  }
  // Qt's own tab chain in template order too, for anything that walks it.
  QWidget* previous = nullptr;
  for (const Control& control : m_controls) {
    if (control.widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, control.widget);
    previous = control.widget;
  }
}

DialogWindow::~DialogWindow() {
  m_ended = true;
  m_widget->hide();
}

void DialogWindow::MakeControl(const ControlLayout& layout, int index) {
  Control control;
  control.kind = layout.kind;
  control.id = layout.item->nID;
  control.style = layout.item->dwStyle;
  QWidget* parent = m_widget.get();
  const DWORD style = control.style;
  const Qt::FocusPolicy focus = (style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus;

  switch (layout.kind) {
    case ControlKind::PushButton: {
      auto* button = new QPushButton(parent);
      // Any push button of a dialog can become the default one (and the style keeps room for
      // the frame); Enter itself is the dialog manager's.
      button->setAutoDefault(true);
      button->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      button->setFocusPolicy(focus);
      QObject::connect(button, &QPushButton::clicked,
                       [this, index] { m_events.ButtonClicked(index); });
      control.button = button;
      control.widget = button;
      break;
    }
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(parent);
      group->setFocusPolicy(Qt::NoFocus);
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      control.group = group;
      control.widget = group;
      break;
    }
    case ControlKind::Static: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(LabelAlignment(style));
      label->setWordWrap(true);  // SS_LEFT and its kind wrap at word boundaries
      label->setFocusPolicy(Qt::NoFocus);
      control.label = label;
      control.widget = label;
      break;
    }
    case ControlKind::Edit:
      if ((style & ES_MULTILINE) != 0) {
        auto* box = new MultiLineEdit(parent);
        box->setFrameShape((style & WS_BORDER) != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
        const bool scrollsAcross = (style & (WS_HSCROLL | ES_AUTOHSCROLL)) != 0;
        box->setLineWrapMode(scrollsAcross ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        box->setHorizontalScrollBarPolicy((style & WS_HSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                    : Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy((style & WS_VSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        if ((style & ES_READONLY) != 0) {
          box->setReadOnly(true);
          box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        }
        box->setFocusPolicy(focus);
        QObject::connect(box, &QPlainTextEdit::textChanged, [this, index] {
          Control& changed = m_controls[static_cast<std::size_t>(index)];
          if (!changed.settingText) changed.edited = true;
        });
        control.box = box;
        control.widget = box;
      } else {
        auto* line = new QLineEdit(parent);
        line->setFrame((style & WS_BORDER) != 0);
        line->setAlignment(EditAlignment(style));
        line->setReadOnly((style & ES_READONLY) != 0);
        line->setMaxLength(control.limit);
        line->setFocusPolicy(focus);
        // A text longer than the limit (set by the program) may shrink, not grow.
        QObject::connect(line, &QLineEdit::textEdited, [this, index](const QString& text) {
          Control& edited = m_controls[static_cast<std::size_t>(index)];
          edited.edited = true;
          if (edited.line->maxLength() > edited.limit) {
            edited.line->setMaxLength(std::max<int>(edited.limit, static_cast<int>(text.size())));
          }
        });
        control.line = line;
        control.widget = line;
      }
      break;
    case ControlKind::Other:
      control.widget = new QWidget(parent);
      control.widget->setFocusPolicy(Qt::NoFocus);
      break;
  }

  const RECT& bounds = layout.bounds;
  control.widget->setGeometry(bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top);
  if (layout.kind == ControlKind::Edit && (style & ES_NOHIDESEL) == 0) {
    HideSelectionWithoutFocus(*control.widget);
  }
  control.widget->setProperty(kControlIdProperty, control.id);
  control.widget->installEventFilter(m_widget.get());
  control.widget->setEnabled((style & WS_DISABLED) == 0);
  control.widget->setVisible((style & WS_VISIBLE) != 0);
  m_controls.push_back(std::move(control));
  SetControlText(index, layout.text);
}

void DialogWindow::SetCaption(std::u16string_view text) {
  m_widget->setWindowTitle(ToQString(text));
}

void DialogWindow::SetControlText(int index, std::u16string_view text) {
  Control& control = m_controls.at(static_cast<std::size_t>(index));
  control.programText = text;
  control.edited = false;
  control.settingText = true;
  const QString shown = ToQString(text);
  if (control.button != nullptr) {
    control.button->setText(shown);
  } else if (control.group != nullptr) {
    control.group->setTitle(shown);
  } else if (control.label != nullptr) {
    control.label->setText(shown);
  } else if (control.line != nullptr) {
    control.line->setMaxLength(std::max<int>(control.limit, static_cast<int>(shown.size())));
    control.line->setText(shown);
  } else if (control.box != nullptr) {
    control.box->setPlainText(ForDisplay(text));
  }
  control.settingText = false;
}

std::u16string DialogWindow::ControlText(int index) const {
  const Control& control = m_controls.at(static_cast<std::size_t>(index));
  // What the operator has not changed reads back exactly as the program set it.
  if (control.edited && control.line != nullptr) return FromQString(control.line->text());
  if (control.edited && control.box != nullptr) return FromDisplay(control.box->toPlainText());
  return control.programText;
}

void DialogWindow::SetTextLimit(int index, int limit) {
  Control& control = m_controls.at(static_cast<std::size_t>(index));
  control.limit = limit;
  if (control.line != nullptr) {
    control.line->setMaxLength(std::max<int>(limit, static_cast<int>(control.line->text().size())));
  }
  if (control.box != nullptr) static_cast<MultiLineEdit*>(control.box)->SetLimit(limit);
}

void DialogWindow::SetSelection(int index, int start, int end) {
  Control& control = m_controls.at(static_cast<std::size_t>(index));
  if (control.line != nullptr) {
    const int length = static_cast<int>(control.line->text().size());
    if (start < 0) {
      control.line->deselect();
      return;
    }
    const int from = std::min(start, length);
    const int to = end < 0 || end > length ? length : end;
    control.line->setSelection(from, to - from);
  } else if (control.box != nullptr) {
    QTextCursor cursor = control.box->textCursor();
    const int length = control.box->document()->characterCount() - 1;
    if (start < 0) {
      cursor.clearSelection();
    } else {
      cursor.setPosition(std::min(start, length));
      cursor.setPosition(end < 0 || end > length ? length : end, QTextCursor::KeepAnchor);
    }
    control.box->setTextCursor(cursor);
  }
}

void DialogWindow::SetFocus(int index) {
  if (index < 0 || index >= static_cast<int>(m_controls.size())) {
    m_widget->setFocus(m_focusReason);
    return;
  }
  m_controls[static_cast<std::size_t>(index)].widget->setFocus(m_focusReason);
}

bool DialogWindow::ReportKey(DialogKey key, Qt::FocusReason reason) {
  const Qt::FocusReason previous = std::exchange(m_focusReason, reason);
  const bool used = m_events.KeyPressed(key);
  m_focusReason = previous;
  return used;
}

void DialogWindow::MoveDefaultFrame(const Control* focused) {
  const bool onPushButton = focused != nullptr && focused->button != nullptr;
  for (Control& control : m_controls) {
    if (control.button == nullptr) continue;
    control.button->setDefault(onPushButton ? &control == focused
                                            : (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
  }
}

int DialogWindow::FocusIndex() const {
  const Control* control = ControlOf(m_widget->focusWidget());
  return control != nullptr ? static_cast<int>(control - m_controls.data()) : -1;
}

const Control* DialogWindow::ControlOf(const QObject* watched) const {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (widget == nullptr) return nullptr;
  for (const Control& control : m_controls) {
    if (control.widget == widget || control.widget->isAncestorOf(widget)) return &control;
  }
  return nullptr;
}

void DialogWindow::SetIcon(const Icon* icon, bool big) {
  (big ? m_bigIcon : m_smallIcon) = icon;
  m_widget->setWindowIcon(ToIcon(m_bigIcon, m_smallIcon));
}

bool DialogWindow::IsIconic() const {
  return m_widget->isMinimized();
}

SIZE DialogWindow::ClientSize() const {
  return SIZE{m_widget->width(), m_widget->height()};
}

void DialogWindow::EraseIconBackground() {
  if (QPainter* painter = m_widget->Painter()) {
    painter->fillRect(m_widget->rect(), m_widget->palette().window());
  }
}

void DialogWindow::DrawIcon(int x, int y, const Icon& icon, HICON /*handle*/) {
  if (QPainter* painter = m_widget->Painter()) {
    const int size = GetSystemMetrics(SM_CXICON);
    painter->drawPixmap(QPoint(x, y), ToIcon(&icon).pixmap(size, size));
  }
}

void DialogWindow::Show() {
  m_widget->winId();  // the native window, so that the window manager's hints go with it
  RequestFrameDecorations(*m_widget, m_style);
  m_widget->show();
  m_widget->raise();
  m_widget->activateWindow();
}

void DialogWindow::RunModalLoop() {
  if (m_ended) return;
  QEventLoop loop;
  m_loop = &loop;
  loop.exec(QEventLoop::DialogExec);
  m_loop = nullptr;
}

void DialogWindow::EndModalLoop() {
  m_ended = true;
  m_widget->hide();
  if (m_loop != nullptr) m_loop->exit(0);
}

}  // namespace afx::qt
