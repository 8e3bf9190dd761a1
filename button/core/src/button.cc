#include "velnor/button.h"

#include <utility>

#include "utf8.h"
#include "velnor/access_key.h"
#include "velnor/paint.h"

namespace velnor {

// ---- Properties and persistence -------------------------------------------------------------

void Button::InitProperties() {
  host_->SetFont(host_->AmbientFont());
  // Hosts name new instances after the control with a running number; the caption keeps what
  // follows the 13-character prefix.
  state_.caption = "Command" + utf8::From(host_->AmbientDisplayName(), 14);
  state_.is_enabled = kTrue;
}

void Button::ReadProperties(PropertyBag& bag) {
  state_.is_enabled = bag.ReadBool("Enabled", true) ? kTrue : kFalse;
  host_->SetFont(bag.ReadFont("Font", host_->AmbientFont()));
  state_.caption = bag.ReadText("Caption", host_->AmbientDisplayName());
  host_->SetForeColor(bag.ReadColor("ForeColor", host_->AmbientForeColor()));
  state_.fore_hover = bag.ReadColor("ForeHover", host_->ForeColor());
  host_->SetWindowEnabled(state_.is_enabled != kFalse);
  ApplyAccessKey();
}

void Button::WriteProperties(PropertyBag& bag) {
  bag.WriteBool("Enabled", state_.is_enabled != kFalse, true);
  bag.WriteFont("Font", host_->font(), host_->AmbientFont());
  bag.WriteText("Caption", state_.caption, host_->AmbientDisplayName());
  const ColorRef fore = host_->ForeColor();
  bag.WriteColor("ForeColor", fore, std::nullopt);
  // The hover colour is omitted when it equals the foreground colour, which is exactly what
  // reading gives for a missing key, so every saved hover colour reads back unchanged.
  bag.WriteColor("ForeHover", state_.fore_hover, fore);
}

void Button::SetEnabled(bool enabled) {
  state_.is_enabled = enabled ? kTrue : kFalse;
  host_->PropertyChanged("Enabled");
  host_->SetWindowEnabled(enabled);
  Repaint(0);
}

void Button::SetFont(const Font& font) {
  host_->SetFont(font);
  Repaint(0);
  host_->PropertyChanged("Font");
}

void Button::SetCaption(std::string caption) {
  state_.caption = std::move(caption);
  Repaint(0);
  ApplyAccessKey();
  host_->PropertyChanged("Caption");
}

void Button::SetForeColor(ColorRef color) {
  host_->SetForeColor(color);
  Repaint(0);
  host_->PropertyChanged("ForeColor");
}

void Button::SetForeHover(ColorRef color) {
  state_.fore_hover = color;
  host_->PropertyChanged("ForeHover");
}

// ---- Window notifications -------------------------------------------------------------------

void Button::Resize() {
  state_.geometry = Geometry::FromClient(host_->ClientRect());
  Repaint(0);
}

void Button::Show() {
  Repaint(0);
}

void Button::GotFocus() {
  state_.has_focus = kTrue;
  Repaint(1);
}

void Button::LostFocus() {
  state_.has_focus = kFalse;
  state_.is_hovering = kFalse;
  Repaint(0);
}

void Button::MouseDown(int16_t button, int16_t shift, float x, float y) {
  if (state_.is_enabled != kTrue) return;
  state_.last_button = button;
  host_->Refresh();
  // Only the left button gives the pressed look; the middle button redraws the released one.
  if (button != kRightButton) Repaint(1);
  RaiseMouse(EventId::kMouseDown, button, shift, x, y);
}

void Button::MouseUp(int16_t button, int16_t shift, float x, float y) {
  Repaint(0);
  host_->Refresh();
  RaiseMouse(EventId::kMouseUp, button, shift, x, y);
}

void Button::Click() {
  if (state_.last_button != kLeftButton) return;
  Repaint(0);
  host_->Refresh();
  Raise(Event{.id = EventId::kClick});
}

void Button::DoubleClick() {
  if (state_.last_button != kLeftButton) return;
  MouseDown(kLeftButton, 0, 0, 0);
  host_->CaptureMouse();
}

void Button::MouseMove(int16_t button, int16_t shift, float x, float y) {
  // The latch lets the first two moves after the pointer arrives through and ignores the rest
  // until the hover timer sees the pointer leave.
  if (button < kRightButton) {
    if (!host_->IsPointerOver()) {
      if (state_.move_latch == 0) return;
      Repaint(0);
    } else {
      if (state_.move_latch == 1) return;
      state_.move_latch = 1;
      if (button == 0 && state_.is_hovering == kFalse) {
        host_->SetTimerEnabled(true);
        state_.is_hovering = kTrue;
        state_.move_latch = 0;
        Repaint(0);
        Raise(Event{.id = EventId::kMouseOver});
      } else if (button == kLeftButton) {
        // Pressed look with the hover caption colour, without entering the hover state.
        state_.is_hovering = kTrue;
        Repaint(1);
        state_.is_hovering = kFalse;
      }
    }
  }
  RaiseMouse(EventId::kMouseMove, button, shift, x, y);
}

void Button::TimerTick() {
  if (host_->IsPointerOver()) return;
  host_->SetTimerEnabled(false);
  state_.is_hovering = kFalse;
  state_.move_latch = 0;
  Repaint(0);
  Raise(Event{.id = EventId::kMouseOut});
}

void Button::KeyDown(int16_t key_code, int16_t shift) {
  state_.last_key_code = key_code;
  if (key_code == kKeySpace || key_code == kKeyReturn) Repaint(1);
  if (key_code == kKeyLeft || key_code == kKeyRight) host_->MoveFocus(FocusMove::kNext);
  if (key_code == kKeyDown || key_code == kKeyUp) host_->MoveFocus(FocusMove::kPrevious);
  RaiseKey(EventId::kKeyDown, key_code, shift);
}

void Button::KeyUp(int16_t key_code, int16_t shift) {
  if ((key_code == kKeySpace && state_.last_key_code == kKeySpace) ||
      (key_code == kKeyReturn && state_.last_key_code == kKeyReturn)) {
    Repaint(0);
    state_.last_button = kLeftButton;
    host_->Refresh();
    Raise(Event{.id = EventId::kClick});
  }
  RaiseKey(EventId::kKeyUp, key_code, shift);
}

void Button::KeyPress(int16_t key_ascii) {
  Raise(Event{.id = EventId::kKeyPress, .key = key_ascii});
}

void Button::AccessKeyPressed() {
  state_.last_button = kLeftButton;
  Click();
}

// ---- Helpers --------------------------------------------------------------------------------

void Button::Repaint(int16_t down) {
  velnor::Repaint(state_, down, *host_);
}

void Button::ApplyAccessKey() {
  host_->SetAccessKeys("");
  const std::string key = AccessKeyFor(state_.caption);
  if (!key.empty()) host_->SetAccessKeys(key);
}

void Button::Raise(Event event) {
  events_->Raise(event);
}

void Button::RaiseMouse(EventId id, int16_t button, int16_t shift, float x, float y) {
  Raise(Event{.id = id, .button = button, .shift = shift, .x = x, .y = y});
}

void Button::RaiseKey(EventId id, int16_t key, int16_t shift) {
  Raise(Event{.id = id, .shift = shift, .key = key});
}

}  // namespace velnor
