// The button's behaviour: it turns the container's notifications into changes of its state, a
// repaint and the events it raises.
//
// A Button borrows its Host and EventSink; both must outlive it (or be replaced with SetHost).
// Every entry point runs on the window's thread. Errors of host services, the property bag or
// the drawing end the entry point and propagate; state changed before the error stays.
#pragma once

#include <cstdint>
#include <string>

#include "velnor/color.h"
#include "velnor/export.h"
#include "velnor/font.h"
#include "velnor/host.h"
#include "velnor/state.h"

namespace velnor {

class VELNOR_API Button {
 public:
  Button(Host& host, EventSink& events) : host_(&host), events_(&events) {}
  Button(const Button&) = delete;
  Button& operator=(const Button&) = delete;

  // Container notifications.
  void InitProperties();  // a new instance with no saved properties
  void ReadProperties(PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);
  void Resize();
  void Show();
  void GotFocus();
  void LostFocus();
  void MouseDown(int16_t button, int16_t shift, float x, float y);
  void MouseMove(int16_t button, int16_t shift, float x, float y);
  void MouseUp(int16_t button, int16_t shift, float x, float y);
  void Click();  // the host's click: a press and release inside the control
  void DoubleClick();
  void KeyDown(int16_t key_code, int16_t shift);
  void KeyUp(int16_t key_code, int16_t shift);
  void KeyPress(int16_t key_ascii);
  void AccessKeyPressed();
  void TimerTick();  // the 100 ms hover timer

  // Properties. The font and foreground colour are kept by the host.
  bool Enabled() const { return state_.is_enabled != kFalse; }
  void SetEnabled(bool enabled);
  Font GetFont() const { return host_->font(); }
  void SetFont(const Font& font);
  const std::string& Caption() const { return state_.caption; }
  void SetCaption(std::string caption);
  ColorRef ForeColor() const { return host_->ForeColor(); }
  void SetForeColor(ColorRef color);
  ColorRef ForeHover() const { return state_.fore_hover; }
  void SetForeHover(ColorRef color);

  const ButtonState& state() const { return state_; }
  Host& host() const { return *host_; }
  // Moves the button to another host, keeping its state. The next repaint draws there.
  void SetHost(Host& host) { host_ = &host; }

 private:
  void Repaint(int16_t down);
  void ApplyAccessKey();
  void Raise(Event event);
  void RaiseMouse(EventId id, int16_t button, int16_t shift, float x, float y);
  void RaiseKey(EventId id, int16_t key, int16_t shift);

  Host* host_;
  EventSink* events_;
  ButtonState state_;
};

}  // namespace velnor
