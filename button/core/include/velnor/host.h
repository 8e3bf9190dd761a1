// What the button needs from the window system that hosts it, and what it tells its container.
//
// The core never owns a window. A host (the Qt widget, the off-screen host of an unsited
// control, a test double) implements Host and outlives the Button it serves. Events go to an
// EventSink, property persistence through a PropertyBag the container passes in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "velnor/color.h"
#include "velnor/export.h"
#include "velnor/font.h"
#include "velnor/geometry.h"
#include "velnor/region.h"
#include "velnor/surface.h"

namespace velnor {

enum class FocusMove { kNext, kPrevious };

class VELNOR_API Host {
 public:
  virtual ~Host() = default;

  // The client rectangle of the control window (left = top = 0).
  virtual Rect ClientRect() = 0;
  // The persistent drawing surface, switched to persistent drawing, cleared to its background
  // and measured in pixels. What is drawn on it stays and is shown whenever the window paints.
  virtual Surface& PrepareSurface() = 0;
  // The surface as it is, for measuring and drawing text after the face is drawn.
  virtual Surface& surface() = 0;
  // Height of `text` in the host's font, words wrapped at `width` pixels, lines centred, "&"
  // read as a mnemonic marker.
  virtual int32_t MeasureText(std::string_view text, int32_t width) = 0;
  // Draws `text` onto the surface inside `box` with the same layout as MeasureText, in `color`
  // (which may be a system colour reference).
  virtual void DrawText(std::string_view text, const Rect& box, ColorRef color) = 0;
  // Gives the window its shape; takes effect at once and redraws the window.
  virtual void SetWindowShape(Region shape) = 0;
  // Copies the surface to the window at once.
  virtual void Refresh() = 0;

  // Ambient properties of the container.
  virtual std::string AmbientDisplayName() = 0;
  virtual Font AmbientFont() = 0;
  virtual ColorRef AmbientForeColor() = 0;

  // Properties the host keeps on the control's behalf.
  virtual Font font() = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual ColorRef ForeColor() = 0;
  virtual void SetForeColor(ColorRef color) = 0;
  virtual void SetWindowEnabled(bool enabled) = 0;
  // The characters that activate the control with the mnemonic modifier ("" for none).
  virtual void SetAccessKeys(std::string_view keys) = 0;

  // Switches the 100 ms hover timer on or off. It runs from the control's creation.
  virtual void SetTimerEnabled(bool enabled) = 0;
  // Whether the window under the pointer is the control window itself (its cut-off corners,
  // children and overlapping windows do not count).
  virtual bool IsPointerOver() = 0;
  // Directs all mouse input to the control window.
  virtual void CaptureMouse() = 0;
  // Moves the keyboard focus as Tab (kNext) or Shift+Tab (kPrevious) would, after the current
  // notification has returned.
  virtual void MoveFocus(FocusMove move) = 0;
  // Tells the container that a property changed (it must be saved and shown again).
  virtual void PropertyChanged(std::string_view name) = 0;
};

// The events of the control, numbered by their dispatch ids on the source interface.
enum class EventId : int32_t {
  kClick = 1,
  kMouseDown = 2,
  kMouseMove = 3,
  kMouseUp = 4,
  kKeyPress = 5,
  kKeyDown = 6,
  kKeyUp = 7,
  kMouseOver = 8,
  kMouseOut = 9,
};

// One raised event with its arguments. The mouse events use button, shift, x and y; KeyPress
// uses key (the character code); KeyDown and KeyUp use key (the key code) and shift. A sink may
// change the arguments; the control does not read them back.
struct Event {
  EventId id = EventId::kClick;
  int16_t button = 0;
  int16_t shift = 0;
  float x = 0;
  float y = 0;
  int16_t key = 0;

  friend bool operator==(const Event&, const Event&) = default;
};

class VELNOR_API EventSink {
 public:
  virtual void Raise(Event& event) = 0;

 protected:
  ~EventSink() = default;
};

// The container's property bag, typed as the control reads and writes it. A bag stores a key
// only when the value differs from the default given with it (a missing default means "always
// store") and returns the given default for a key it does not hold. A stored value that cannot
// be converted to the requested type is an error of the bag.
class VELNOR_API PropertyBag {
 public:
  virtual bool ReadBool(std::string_view key, bool default_value) = 0;
  virtual std::string ReadText(std::string_view key, const std::string& default_value) = 0;
  virtual ColorRef ReadColor(std::string_view key, ColorRef default_value) = 0;
  virtual Font ReadFont(std::string_view key, const Font& default_value) = 0;

  virtual void WriteBool(std::string_view key, bool value, bool default_value) = 0;
  virtual void WriteText(std::string_view key, const std::string& value,
                         const std::string& default_value) = 0;
  virtual void WriteColor(std::string_view key, ColorRef value,
                          std::optional<ColorRef> default_value) = 0;
  virtual void WriteFont(std::string_view key, const Font& value, const Font& default_value) = 0;

 protected:
  ~PropertyBag() = default;
};

}  // namespace velnor
