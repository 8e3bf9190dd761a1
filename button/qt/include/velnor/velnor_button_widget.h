// The Qt 6 host of the hover button: a widget that owns a btnVelnor control object, shows its
// picture, shapes itself to it, and turns Qt's input, focus and mnemonic events into the
// control's notifications.
//
// The widget is the control's site: it keeps the drawing surface, the font (the widget's font),
// the foreground colour and the access key, runs the 100 ms hover timer and draws the caption
// with Qt. Every event the control raises goes to the sinks of its connection point and is also
// emitted as the Qt signal of the same name.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>
#include <memory>

#include "orv/object.h"
#include "velnor/btn_velnor.h"
#include "velnor/export.h"

namespace velnor {

class QtSite;
class SignalRelay;

class VELNOR_API VelnorButtonWidget : public QWidget {
  Q_OBJECT

 public:
  // A new instance named `name` (its ambient display name), with initial properties.
  explicit VelnorButtonWidget(const QString& name = {}, QWidget* parent = nullptr);
  explicit VelnorButtonWidget(QWidget* parent) : VelnorButtonWidget(QString(), parent) {}
  ~VelnorButtonWidget() override;

  // The control object: late-bound properties, the connection point, the behaviour.
  BtnVelnor& control() { return *control_; }
  orv::Ref<BtnVelnor> controlObject() const { return control_; }

  QString caption() const;
  void setCaption(const QString& caption);
  bool isButtonEnabled() const;
  void setButtonEnabled(bool enabled);

  // Restores saved properties, or saves them, through a container's property bag.
  void readProperties(PropertyBag& bag);
  void writeProperties(PropertyBag& bag);

  // The control's picture as last drawn (one pixel per widget pixel).
  const Surface& picture() const;

  // What form designers show for this control: its name and its 16 x 15 toolbox picture.
  static QString designerName();
  static QIcon toolboxIcon();

  QSize sizeHint() const override { return {75, 23}; }

 signals:
  void clicked();
  void mouseDown(short button, short shift, float x, float y);
  void mouseMove(short button, short shift, float x, float y);
  void mouseUp(short button, short shift, float x, float y);
  void keyPress(short keyAscii);
  void keyDown(short keyCode, short shift);
  void keyUp(short keyCode, short shift);
  void mouseOver();
  void mouseOut();
  // The control told its container that a property changed.
  void propertyChanged(const QString& name);
  // A notification failed; the control's state is as the failure left it.
  void failed(const QString& description);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  friend class QtSite;
  friend class SignalRelay;

  // Runs a notification of the control; a failure is reported, never thrown into Qt.
  template <class F>
  void Notify(F&& f);
  void HoverTimerTick();

  std::unique_ptr<QtSite> site_;
  orv::Ref<BtnVelnor> control_;
  orv::Ref<SignalRelay> relay_;
  uint32_t relay_cookie_ = 0;
  bool click_pending_ = false;  // a press inside may still become the host's click
};

}  // namespace velnor
