#include "velnor/velnor_button_widget.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcutEvent>
#include <exception>

#include "orv/dispatch.h"
#include "qt_convert.h"
#include "qt_site.h"
#include "velnor/toolbox_icon.h"

namespace velnor {

// Re-emits the control's events, as they reach its connection point, as the widget's signals.
class SignalRelay final : public orv::Dispatch {
 public:
  explicit SignalRelay(VelnorButtonWidget& widget) : widget_(&widget) {}
  void Detach() { widget_ = nullptr; }

  const orv::TypeInfo& Type() const noexcept override { return BtnVelnor::EventsType(); }

  orv::Variant Invoke(orv::DispId id, orv::InvokeKind, std::span<orv::Variant> a) override {
    VelnorButtonWidget* w = widget_;
    if (!w) return {};
    auto mouse = [&](void (VelnorButtonWidget::*signal)(short, short, float, float)) {
      (w->*signal)(a[0].ToInt16(), a[1].ToInt16(), static_cast<float>(a[2].ToDouble()),
                   static_cast<float>(a[3].ToDouble()));
    };
    switch (static_cast<EventId>(id)) {
      case EventId::kClick:
        emit w->clicked();
        break;
      case EventId::kMouseDown:
        mouse(&VelnorButtonWidget::mouseDown);
        break;
      case EventId::kMouseMove:
        mouse(&VelnorButtonWidget::mouseMove);
        break;
      case EventId::kMouseUp:
        mouse(&VelnorButtonWidget::mouseUp);
        break;
      case EventId::kKeyPress:
        emit w->keyPress(a[0].ToInt16());
        break;
      case EventId::kKeyDown:
        emit w->keyDown(a[0].ToInt16(), a[1].ToInt16());
        break;
      case EventId::kKeyUp:
        emit w->keyUp(a[0].ToInt16(), a[1].ToInt16());
        break;
      case EventId::kMouseOver:
        emit w->mouseOver();
        break;
      case EventId::kMouseOut:
        emit w->mouseOut();
        break;
    }
    return {};
  }

 private:
  VelnorButtonWidget* widget_;
};

namespace {

int16_t ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return 0;
  }
}

int16_t ButtonsOf(Qt::MouseButtons buttons) {
  int16_t v = 0;
  if (buttons & Qt::LeftButton) v |= kLeftButton;
  if (buttons & Qt::RightButton) v |= kRightButton;
  if (buttons & Qt::MiddleButton) v |= kMiddleButton;
  return v;
}

// The shift state of mouse and key events: 1 Shift, 2 Ctrl, 4 Alt.
int16_t ShiftOf(Qt::KeyboardModifiers m) {
  int16_t v = 0;
  if (m & Qt::ShiftModifier) v |= 1;
  if (m & Qt::ControlModifier) v |= 2;
  if (m & Qt::AltModifier) v |= 4;
  return v;
}

// The key code the control's key events carry for a Qt key (0 for keys without one).
int16_t KeyCodeOf(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<int16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<int16_t>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<int16_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyReturn;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return kKeySpace;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

// The character code of a key press, for the characters of the 8-bit range (0 for none).
int16_t CharCodeOf(const QString& text) {
  if (text.size() != 1) return 0;
  const char16_t c = text.at(0).unicode();
  return c > 0 && c < 256 ? static_cast<int16_t>(c) : 0;
}

}  // namespace

VelnorButtonWidget::VelnorButtonWidget(const QString& name, QWidget* parent)
    : QWidget(parent), site_(std::make_unique<QtSite>(*this)), control_(BtnVelnor::Create()) {
  setObjectName(name);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(sizeHint());
  site_->ResizeSurface();
  connect(&site_->hover_timer(), &QTimer::timeout, this, [this] { HoverTimerTick(); });

  control_->Site(*site_);
  relay_ = orv::MakeRef<SignalRelay>(*this);
  relay_cookie_ = control_->events().Advise(relay_);
  control_->button().InitProperties();
}

VelnorButtonWidget::~VelnorButtonWidget() {
  control_->events().Unadvise(relay_cookie_);
  relay_->Detach();
  control_->Unsite();
}

template <class F>
void VelnorButtonWidget::Notify(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    const QString description = QString::fromUtf8(e.what());
    qWarning("btnVelnor: %s", qPrintable(description));
    emit failed(description);
  }
}

QString VelnorButtonWidget::caption() const {
  return QString::fromStdString(control_->button().Caption());
}

void VelnorButtonWidget::setCaption(const QString& caption) {
  control_->button().SetCaption(caption.toStdString());
}

bool VelnorButtonWidget::isButtonEnabled() const {
  return control_->button().Enabled();
}

void VelnorButtonWidget::setButtonEnabled(bool enabled) {
  control_->button().SetEnabled(enabled);
}

void VelnorButtonWidget::readProperties(PropertyBag& bag) {
  control_->button().ReadProperties(bag);
}

void VelnorButtonWidget::writeProperties(PropertyBag& bag) {
  control_->button().WriteProperties(bag);
}

const Surface& VelnorButtonWidget::picture() const {
  return site_->surface();
}

QString VelnorButtonWidget::designerName() {
  return QStringLiteral("btnVelnor");
}

QIcon VelnorButtonWidget::toolboxIcon() {
  return QIcon(QPixmap::fromImage(qt::ToImage(ToolboxBitmap())));
}

void VelnorButtonWidget::HoverTimerTick() {
  Notify([&] { control_->button().TimerTick(); });
}

bool VelnorButtonWidget::event(QEvent* e) {
  if (e->type() == QEvent::Shortcut) {
    const auto* shortcut = static_cast<QShortcutEvent*>(e);
    if (shortcut->shortcutId() == site_->shortcut_id() && site_->shortcut_id() != 0) {
      Notify([&] { control_->button().AccessKeyPressed(); });
      return true;
    }
  }
  return QWidget::event(e);
}

void VelnorButtonWidget::paintEvent(QPaintEvent*) {
  const Surface& s = site_->surface();
  if (s.width() == 0 || s.height() == 0) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), qt::ToImage(s));
}

void VelnorButtonWidget::resizeEvent(QResizeEvent*) {
  site_->ResizeSurface();
  Notify([&] { control_->button().Resize(); });
}

void VelnorButtonWidget::showEvent(QShowEvent*) {
  Notify([&] { control_->button().Show(); });
}

void VelnorButtonWidget::changeEvent(QEvent* e) {
  // The caption follows a change of the host's palette at once.
  if (e->type() == QEvent::PaletteChange && isVisible()) Notify([&] { control_->button().Show(); });
  QWidget::changeEvent(e);
}

void VelnorButtonWidget::focusInEvent(QFocusEvent* e) {
  Notify([&] { control_->button().GotFocus(); });
  QWidget::focusInEvent(e);
}

void VelnorButtonWidget::focusOutEvent(QFocusEvent* e) {
  Notify([&] { control_->button().LostFocus(); });
  QWidget::focusOutEvent(e);
}

void VelnorButtonWidget::mousePressEvent(QMouseEvent* e) {
  const int16_t button = ButtonOf(e->button());
  if (button == 0) return QWidget::mousePressEvent(e);
  click_pending_ = true;
  const QPointF p = e->position();
  Notify([&] {
    control_->button().MouseDown(button, ShiftOf(e->modifiers()), float(p.x()), float(p.y()));
  });
}

void VelnorButtonWidget::mouseReleaseEvent(QMouseEvent* e) {
  const int16_t button = ButtonOf(e->button());
  if (button == 0) return QWidget::mouseReleaseEvent(e);
  const QPointF p = e->position();
  const QPoint at = p.toPoint();
  // The host's click: the press and the release both inside the visible shape.
  const bool inside = rect().contains(at) && (mask().isEmpty() || mask().contains(at));
  const bool click = click_pending_ && inside && e->buttons() == Qt::NoButton;
  if (e->buttons() == Qt::NoButton) click_pending_ = false;
  Notify([&] {
    control_->button().MouseUp(button, ShiftOf(e->modifiers()), float(p.x()), float(p.y()));
  });
  if (click) Notify([&] { control_->button().Click(); });
  // The capture taken after a double click ends with the release of the buttons.
  if (e->buttons() == Qt::NoButton && mouseGrabber() == this) releaseMouse();
}

void VelnorButtonWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return mousePressEvent(e);
  // The second press of a double click: its release gives no click of its own.
  click_pending_ = false;
  Notify([&] { control_->button().DoubleClick(); });
}

void VelnorButtonWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPointF p = e->position();
  Notify([&] {
    control_->button().MouseMove(ButtonsOf(e->buttons()), ShiftOf(e->modifiers()), float(p.x()),
                                 float(p.y()));
  });
}

void VelnorButtonWidget::keyPressEvent(QKeyEvent* e) {
  const int16_t code = KeyCodeOf(e->key());
  const int16_t character = CharCodeOf(e->text());
  if (code == 0 && character == 0) return QWidget::keyPressEvent(e);
  if (code != 0) Notify([&] { control_->button().KeyDown(code, ShiftOf(e->modifiers())); });
  if (character != 0) Notify([&] { control_->button().KeyPress(character); });
}

void VelnorButtonWidget::keyReleaseEvent(QKeyEvent* e) {
  const int16_t code = KeyCodeOf(e->key());
  if (code == 0) return QWidget::keyReleaseEvent(e);
  // Held keys repeat their presses only, as the control expects.
  if (e->isAutoRepeat()) return;
  Notify([&] { control_->button().KeyUp(code, ShiftOf(e->modifiers())); });
}

}  // namespace velnor
