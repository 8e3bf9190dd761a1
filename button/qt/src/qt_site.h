// The services a VelnorButtonWidget gives its control: drawing surface, Qt text, window mask,
// hover timer, pointer test, focus moves, mnemonic shortcut and the properties a host keeps.
#pragma once

#include <QTimer>

#include "velnor/host.h"

namespace velnor {

class VelnorButtonWidget;

class QtSite final : public Host {
 public:
  // Serves `widget`, which owns the site and outlives it. The hover timer starts at once.
  explicit QtSite(VelnorButtonWidget& widget);
  ~QtSite() override;

  QTimer& hover_timer() { return timer_; }
  int shortcut_id() const { return shortcut_id_; }
  // Follows the widget's size; the picture is drawn anew by the control's resize.
  void ResizeSurface();

  Rect ClientRect() override;
  Surface& PrepareSurface() override;
  Surface& surface() override { return surface_; }
  int32_t MeasureText(std::string_view text, int32_t width) override;
  void DrawText(std::string_view text, const Rect& box, ColorRef color) override;
  void SetWindowShape(Region shape) override;
  void Refresh() override;

  std::string AmbientDisplayName() override;
  Font AmbientFont() override;
  ColorRef AmbientForeColor() override { return SystemColor(kSysButtonText); }

  Font font() override;
  void SetFont(const Font& font) override;
  ColorRef ForeColor() override { return fore_color_; }
  void SetForeColor(ColorRef color) override { fore_color_ = color; }
  void SetWindowEnabled(bool enabled) override;
  void SetAccessKeys(std::string_view keys) override;

  void SetTimerEnabled(bool enabled) override;
  bool IsPointerOver() override;
  void CaptureMouse() override;
  void MoveFocus(FocusMove move) override;
  void PropertyChanged(std::string_view name) override;

 private:
  VelnorButtonWidget& widget_;
  Surface surface_;
  ColorRef fore_color_ = SystemColor(kSysButtonText);
  QTimer timer_;
  int shortcut_id_ = 0;
};

}  // namespace velnor
