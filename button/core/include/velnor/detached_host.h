// A host without a window: the control of an object created on its own, before a container
// sites it, or after its window has gone.
//
// It keeps the drawing surface and every property a host keeps, so the control's state and
// picture stay consistent, but it has no text renderer (captions measure 0 and are not drawn),
// no pointer (never over the control), no keyboard focus to move and no container to notify.
#pragma once

#include <string>

#include "velnor/export.h"
#include "velnor/host.h"

namespace velnor {

// The ambient properties a container offers its controls.
struct Ambient {
  std::string display_name;
  Font font;
  ColorRef fore_color = SystemColor(kSysButtonText);
};

class VELNOR_API DetachedHost : public Host {
 public:
  // A window of `width` x `height` pixels whose surface clears to `background`.
  DetachedHost(int32_t width = 0, int32_t height = 0,
               ColorRef background = SystemColor(kSysButtonFace));

  // Changes the window's size (the surface follows and is cleared).
  void SetSize(int32_t width, int32_t height);
  void SetAmbient(Ambient ambient) { ambient_ = std::move(ambient); }

  bool window_enabled() const { return window_enabled_; }
  bool timer_enabled() const { return timer_enabled_; }
  const std::string& access_keys() const { return access_keys_; }
  const Region& window_shape() const { return shape_; }

  Rect ClientRect() override { return Rect{0, 0, surface_.width(), surface_.height()}; }
  Surface& PrepareSurface() override;
  Surface& surface() override { return surface_; }
  int32_t MeasureText(std::string_view, int32_t) override { return 0; }
  void DrawText(std::string_view, const Rect&, ColorRef) override {}
  void SetWindowShape(Region shape) override { shape_ = std::move(shape); }
  void Refresh() override {}

  std::string AmbientDisplayName() override { return ambient_.display_name; }
  Font AmbientFont() override { return ambient_.font; }
  ColorRef AmbientForeColor() override { return ambient_.fore_color; }

  Font font() override { return font_; }
  void SetFont(const Font& font) override { font_ = font; }
  ColorRef ForeColor() override { return fore_color_; }
  void SetForeColor(ColorRef color) override { fore_color_ = color; }
  void SetWindowEnabled(bool enabled) override { window_enabled_ = enabled; }
  void SetAccessKeys(std::string_view keys) override { access_keys_ = keys; }

  void SetTimerEnabled(bool enabled) override { timer_enabled_ = enabled; }
  bool IsPointerOver() override { return false; }
  void CaptureMouse() override {}
  void MoveFocus(FocusMove) override {}
  void PropertyChanged(std::string_view) override {}

 private:
  Surface surface_;
  Ambient ambient_;
  Font font_;
  ColorRef fore_color_ = SystemColor(kSysButtonText);
  bool window_enabled_ = true;
  bool timer_enabled_ = true;  // the hover timer runs from creation
  std::string access_keys_;
  Region shape_;
};

}  // namespace velnor
