#include "qt_site.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>

#include "qt_convert.h"
#include "velnor/velnor_button_widget.h"

namespace velnor {
namespace {

// Lines centred, words wrapped at the box width, "&" marking the mnemonic.
constexpr int kTextFlags =
    Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtSite::QtSite(VelnorButtonWidget& widget) : widget_(widget) {
  timer_.setInterval(100);
  timer_.start();
}

QtSite::~QtSite() = default;

void QtSite::ResizeSurface() {
  surface_.SetBackground(qt::FromQColor(widget_.palette().color(QPalette::Button)));
  surface_.Resize(widget_.width(), widget_.height());
}

Rect QtSite::ClientRect() {
  return Rect{0, 0, widget_.width(), widget_.height()};
}

Surface& QtSite::PrepareSurface() {
  // The surface clears to the host's button face colour; the control never sets one.
  surface_.SetBackground(qt::FromQColor(widget_.palette().color(QPalette::Button)));
  if (surface_.width() != widget_.width() || surface_.height() != widget_.height())
    surface_.Resize(widget_.width(), widget_.height());
  else
    surface_.Clear();
  return surface_;
}

int32_t QtSite::MeasureText(std::string_view text, int32_t width) {
  const QFontMetrics metrics(widget_.font(), &widget_);
  return metrics.boundingRect(QRect(0, 0, width, 1 << 20), kTextFlags, ToQString(text)).height();
}

void QtSite::DrawText(std::string_view text, const Rect& box, ColorRef color) {
  if (surface_.width() == 0 || surface_.height() == 0) return;
  QImage image = qt::ToImage(surface_);
  // Draw at the widget's resolution so the text matches what MeasureText measured.
  image.setDotsPerMeterX(qRound(widget_.logicalDpiX() / 0.0254));
  image.setDotsPerMeterY(qRound(widget_.logicalDpiY() / 0.0254));
  {
    QPainter painter(&image);
    painter.setFont(widget_.font());
    painter.setPen(qt::ToQColor(color, widget_.palette()));
    painter.drawText(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                     kTextFlags, ToQString(text));
  }
  qt::CopyToSurface(image, surface_);
}

void QtSite::SetWindowShape(Region shape) {
  if (shape.IsEmpty())
    widget_.clearMask();
  else
    widget_.setMask(qt::ToQRegion(shape));
  widget_.update();
}

void QtSite::Refresh() {
  if (widget_.isVisible()) widget_.repaint();
}

std::string QtSite::AmbientDisplayName() {
  return widget_.objectName().toStdString();
}

Font QtSite::AmbientFont() {
  const QWidget* container = widget_.parentWidget();
  return qt::FromQFont(container ? container->font() : QApplication::font());
}

Font QtSite::font() {
  return qt::FromQFont(widget_.font());
}

void QtSite::SetFont(const Font& font) {
  widget_.setFont(qt::ToQFont(font));
}

void QtSite::SetWindowEnabled(bool enabled) {
  widget_.setEnabled(enabled);
}

void QtSite::SetAccessKeys(std::string_view keys) {
  if (shortcut_id_ != 0) widget_.releaseShortcut(shortcut_id_);
  shortcut_id_ = 0;
  if (!keys.empty())
    shortcut_id_ =
        widget_.grabShortcut(QKeySequence::mnemonic(QStringLiteral("&") + ToQString(keys)));
}

void QtSite::SetTimerEnabled(bool enabled) {
  if (enabled)
    timer_.start();
  else
    timer_.stop();
}

bool QtSite::IsPointerOver() {
  return QApplication::widgetAt(QCursor::pos()) == &widget_;
}

void QtSite::CaptureMouse() {
  widget_.grabMouse();
}

void QtSite::MoveFocus(FocusMove move) {
  // As an injected Tab or Shift+Tab: it reaches whichever widget has the focus once the current
  // event has been handled, and Qt's own Tab handling moves the focus.
  const bool next = move == FocusMove::kNext;
  QMetaObject::invokeMethod(
      &widget_,
      [next] {
        QWidget* target = QApplication::focusWidget();
        if (!target) return;
        QKeyEvent press(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab,
                        next ? Qt::NoModifier : Qt::ShiftModifier);
        QCoreApplication::sendEvent(target, &press);
      },
      Qt::QueuedConnection);
}

void QtSite::PropertyChanged(std::string_view name) {
  emit widget_.propertyChanged(ToQString(name));
}

}  // namespace velnor
