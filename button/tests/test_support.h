// Test doubles for the button core: a host without a window that records what the control asks
// of it, an event sink that records the events, an in-memory property bag, and pixel checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "velnor/button.h"
#include "velnor/detached_host.h"

namespace velnor::test {

inline std::string Hex(ColorRef c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
  return buf;
}

inline std::string Describe(const Event& e) {
  auto mouse = [&](const char* name) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%s(%d,%d,%g,%g)", name, e.button, e.shift, double(e.x),
                  double(e.y));
    return std::string(buf);
  };
  switch (e.id) {
    case EventId::kClick:
      return "Click";
    case EventId::kMouseDown:
      return mouse("MouseDown");
    case EventId::kMouseMove:
      return mouse("MouseMove");
    case EventId::kMouseUp:
      return mouse("MouseUp");
    case EventId::kKeyPress:
      return "KeyPress(" + std::to_string(e.key) + ")";
    case EventId::kKeyDown:
      return "KeyDown(" + std::to_string(e.key) + "," + std::to_string(e.shift) + ")";
    case EventId::kKeyUp:
      return "KeyUp(" + std::to_string(e.key) + "," + std::to_string(e.shift) + ")";
    case EventId::kMouseOver:
      return "MouseOver";
    case EventId::kMouseOut:
      return "MouseOut";
  }
  return "?";
}

// A window-less host that records the services the control uses, in order, into `log`.
// Events raised to `sink` go into the same log, so the order of both can be checked together.
class RecordingHost : public DetachedHost, public EventSink {
 public:
  static constexpr ColorRef kBackground = Rgb(12, 34, 56);

  RecordingHost(int32_t width = 75, int32_t height = 23)
      : DetachedHost(width, height, kBackground) {
    SetForeColor(Rgb(1, 2, 3));
    SetAmbient(
        {"Form1Button17", Font{"Ambient Sans", 9, false, false, false, false}, Rgb(9, 9, 9)});
  }

  std::vector<std::string> log;
  std::vector<Event> events;
  bool pointer_over = false;
  int32_t text_height = 0;
  // The name of a logged service that throws instead of acting.
  std::string fail_on;
  // The last caption drawn.
  struct TextDraw {
    std::string text;
    Rect box;
    ColorRef color = 0;
    int32_t measured_width = -1;
  };
  std::optional<TextDraw> last_text;
  int repaints = 0;

  // Only the events, described.
  std::vector<std::string> EventLog() const {
    std::vector<std::string> out;
    for (const Event& e : events) out.push_back(Describe(e));
    return out;
  }
  void ClearLogs() {
    log.clear();
    events.clear();
  }

  void Raise(Event& e) override {
    events.push_back(e);
    log.push_back(Describe(e));
  }

  Surface& PrepareSurface() override {
    ++repaints;
    return DetachedHost::PrepareSurface();
  }
  int32_t MeasureText(std::string_view text, int32_t width) override {
    last_text = TextDraw{std::string(text), {}, 0, width};
    return text_height;
  }
  void DrawText(std::string_view text, const Rect& box, ColorRef color) override {
    const int32_t width = last_text ? last_text->measured_width : -1;
    last_text = TextDraw{std::string(text), box, color, width};
  }
  void Refresh() override { Record("Refresh"); }
  void SetWindowEnabled(bool enabled) override {
    Record(enabled ? "SetWindowEnabled(1)" : "SetWindowEnabled(0)");
    DetachedHost::SetWindowEnabled(enabled);
  }
  void SetAccessKeys(std::string_view keys) override {
    Record("SetAccessKeys(" + std::string(keys) + ")");
    DetachedHost::SetAccessKeys(keys);
  }
  void SetTimerEnabled(bool enabled) override {
    Record(enabled ? "SetTimer(1)" : "SetTimer(0)");
    DetachedHost::SetTimerEnabled(enabled);
  }
  bool IsPointerOver() override { return pointer_over; }
  void CaptureMouse() override { Record("CaptureMouse"); }
  void MoveFocus(FocusMove move) override {
    Record(move == FocusMove::kNext ? "MoveFocus(next)" : "MoveFocus(previous)");
  }
  void PropertyChanged(std::string_view name) override {
    Record("PropertyChanged(" + std::string(name) + ")");
  }

 private:
  void Record(const std::string& what) {
    if (!fail_on.empty() && what.rfind(fail_on, 0) == 0) throw std::runtime_error(what);
    log.push_back(what);
  }
};

// A button on a recording host, sized and shown as a container would.
struct ButtonFixture : ::testing::Test {
  RecordingHost host;
  Button button{host, host};

  // A new instance at the host's size, shown, with the logs cleared.
  void Create() {
    button.InitProperties();
    button.Resize();
    button.Show();
    host.ClearLogs();
  }
  ButtonFixture() { Create(); }
  const Surface& surface() { return host.surface(); }
};

// An in-memory property bag with the storage rule of the container's bag: a key is stored only
// when its value differs from the default given, and reading a missing key gives the default.
class MemoryBag : public PropertyBag {
 public:
  using Value = std::variant<bool, std::string, ColorRef, Font>;
  std::map<std::string, Value, std::less<>> values;
  // "key=value|default" for every write, in order ("-" for no default).
  std::vector<std::string> writes;
  // Keys read, in order, with the default given.
  std::vector<std::string> reads;

  bool ReadBool(std::string_view key, bool d) override {
    reads.push_back(std::string(key) + "|" + (d ? "true" : "false"));
    return Get<bool>(key, d);
  }
  std::string ReadText(std::string_view key, const std::string& d) override {
    reads.push_back(std::string(key) + "|" + d);
    return Get<std::string>(key, d);
  }
  ColorRef ReadColor(std::string_view key, ColorRef d) override {
    reads.push_back(std::string(key) + "|" + Hex(d));
    return Get<ColorRef>(key, d);
  }
  Font ReadFont(std::string_view key, const Font& d) override {
    reads.push_back(std::string(key) + "|" + d.name);
    return Get<Font>(key, d);
  }
  void WriteBool(std::string_view key, bool v, bool d) override {
    writes.push_back(std::string(key) + "=" + (v ? "true" : "false") + "|" +
                     (d ? "true" : "false"));
    Put(key, v, v != d);
  }
  void WriteText(std::string_view key, const std::string& v, const std::string& d) override {
    writes.push_back(std::string(key) + "=" + v + "|" + d);
    Put(key, v, v != d);
  }
  void WriteColor(std::string_view key, ColorRef v, std::optional<ColorRef> d) override {
    writes.push_back(std::string(key) + "=" + Hex(v) + "|" + (d ? Hex(*d) : "-"));
    Put(key, v, !d || v != *d);
  }
  void WriteFont(std::string_view key, const Font& v, const Font& d) override {
    writes.push_back(std::string(key) + "=" + v.name + "|" + d.name);
    Put(key, v, v != d);
  }

 private:
  template <class T>
  T Get(std::string_view key, const T& d) {
    auto it = values.find(key);
    if (it == values.end()) return d;
    if (const T* v = std::get_if<T>(&it->second)) return *v;
    throw std::invalid_argument("type mismatch at " + std::string(key));
  }
  void Put(std::string_view key, Value v, bool store) {
    if (store)
      values.insert_or_assign(std::string(key), std::move(v));
    else
      values.erase(std::string(key));
  }
};

// An expected picture: a colour per pixel, or no expectation where the pixel does not matter.
class Picture {
 public:
  Picture(int32_t w, int32_t h) : w_(w), h_(h), px_(size_t(w) * size_t(h)) {}
  // Columns x0..x1 and rows y0..y1, both inclusive.
  Picture& Fill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, ColorRef c) {
    for (int32_t y = y0; y <= y1; ++y)
      for (int32_t x = x0; x <= x1; ++x) Set(x, y, c);
    return *this;
  }
  Picture& Row(int32_t y, int32_t x0, int32_t x1, ColorRef c) { return Fill(x0, y, x1, y, c); }
  Picture& Set(int32_t x, int32_t y, ColorRef c) {
    px_.at(size_t(y) * size_t(w_) + size_t(x)) = c;
    return *this;
  }
  Picture& Ignore(int32_t x, int32_t y) {
    px_.at(size_t(y) * size_t(w_) + size_t(x)).reset();
    return *this;
  }

  // Every pixel with an expectation must match; reports the first few that do not.
  ::testing::AssertionResult Matches(const Surface& s) const {
    if (s.width() != w_ || s.height() != h_)
      return ::testing::AssertionFailure() << "surface is " << s.width() << "x" << s.height();
    int bad = 0;
    std::string report;
    for (int32_t y = 0; y < h_; ++y)
      for (int32_t x = 0; x < w_; ++x) {
        const auto& want = px_[size_t(y) * size_t(w_) + size_t(x)];
        if (want && s.Pixel(x, y) != *want) {
          if (++bad <= 8)
            report += "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                      Hex(s.Pixel(x, y)) + ", expected " + Hex(*want) + "\n";
        }
      }
    if (bad == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ:\n" << report;
  }

 private:
  int32_t w_, h_;
  std::vector<std::optional<ColorRef>> px_;
};

}  // namespace velnor::test
