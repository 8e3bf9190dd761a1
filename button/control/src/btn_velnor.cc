#include "velnor/btn_velnor.h"

#include <cmath>
#include <vector>

#include "velnor/errors.h"

namespace velnor {
namespace {

using orv::kMethod;
using orv::kPropertyGet;
using orv::kPropertyPut;
using orv::kPropertyPutRef;
using orv::ParamInfo;
using orv::Variant;
using orv::VarType;

// Runs a property handler, turning the core's overflow into the runtime's overflow error.
template <class F>
auto Guarded(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const OverflowError&) {
    orv::ThrowOverflow();
  }
}

std::vector<Variant> ArgsOf(const Event& e) {
  switch (e.id) {
    case EventId::kMouseDown:
    case EventId::kMouseMove:
    case EventId::kMouseUp:
      // Single-precision coordinates travel as doubles.
      return {Variant(e.button), Variant(e.shift), Variant(double(e.x)), Variant(double(e.y))};
    case EventId::kKeyPress:
      return {Variant(e.key)};
    case EventId::kKeyDown:
    case EventId::kKeyUp:
      return {Variant(e.key), Variant(e.shift)};
    case EventId::kClick:
    case EventId::kMouseOver:
    case EventId::kMouseOut:
      break;
  }
  return {};
}

}  // namespace

ColorRef ColorFromVariant(const Variant& v) {
  if (v.type() == VarType::Double) {
    const double d = v.dbl();
    if (d >= 2147483648.0 && d <= 4294967295.0 && d == std::floor(d))
      return static_cast<ColorRef>(d);
  }
  return static_cast<ColorRef>(v.ToInt32());
}

Variant ColorToVariant(ColorRef c) {
  return Variant(static_cast<int32_t>(c));
}

const orv::ClassTable<BtnVelnor>& BtnVelnor::Table() {
  constexpr uint8_t kGetPut = kPropertyGet | kPropertyPut;
  static const orv::ClassTable<BtnVelnor> table(
      kClassName, kClassId, kInterfaceName, kInterfaceId,
      {
          {{"Enabled", kDispEnabled, kGetPut, VarType::Bool, {}},
           [](BtnVelnor& b) { return Variant(b.button_.Enabled()); },
           [](BtnVelnor& b, const Variant& v) {
             const bool on = v.ToBool();
             Guarded([&] { b.button_.SetEnabled(on); });
           },
           nullptr},
          {{"Font", kDispFont, kPropertyGet | kPropertyPutRef, VarType::Object, {}},
           [](BtnVelnor& b) { return Variant(FontObject::Create(b.button_.GetFont())); },
           [](BtnVelnor& b, const Variant& v) {
             const Font f = FontFromVariant(v);
             Guarded([&] { b.button_.SetFont(f); });
           },
           nullptr},
          {{"Caption", kDispCaption, kGetPut, VarType::Text, {}},
           [](BtnVelnor& b) { return Variant(b.button_.Caption()); },
           [](BtnVelnor& b, const Variant& v) {
             std::string text = v.ToText();
             Guarded([&] { b.button_.SetCaption(std::move(text)); });
           },
           nullptr},
          {{"ForeColor", kDispForeColor, kGetPut, VarType::Int32, {}},
           [](BtnVelnor& b) { return ColorToVariant(b.button_.ForeColor()); },
           [](BtnVelnor& b, const Variant& v) {
             const ColorRef c = ColorFromVariant(v);
             Guarded([&] { b.button_.SetForeColor(c); });
           },
           nullptr},
          {{"ForeHover", kDispForeHover, kGetPut, VarType::Int32, {}},
           [](BtnVelnor& b) { return ColorToVariant(b.button_.ForeHover()); },
           [](BtnVelnor& b, const Variant& v) { b.button_.SetForeHover(ColorFromVariant(v)); },
           nullptr},
      });
  return table;
}

const orv::TypeInfo& BtnVelnor::EventsType() {
  static const orv::TypeInfo type = [] {
    const ParamInfo button{"Button", VarType::Int16, true};
    const ParamInfo shift{"Shift", VarType::Int16, true};
    const ParamInfo x{"X", VarType::Double, true};
    const ParamInfo y{"Y", VarType::Double, true};
    const ParamInfo key_ascii{"KeyAscii", VarType::Int16, true};
    const ParamInfo key_code{"KeyCode", VarType::Int16, true};
    orv::TypeInfo t;
    t.class_name = kClassName;
    t.clsid = orv::Guid::FromLiteral(kClassId);
    t.interface_name = kEventsName;
    t.iid = orv::Guid::FromLiteral(kEventsInterfaceId);
    t.members = {
        {"Click", 1, kMethod, VarType::Empty, {}},
        {"MouseDown", 2, kMethod, VarType::Empty, {button, shift, x, y}},
        {"MouseMove", 3, kMethod, VarType::Empty, {button, shift, x, y}},
        {"MouseUp", 4, kMethod, VarType::Empty, {button, shift, x, y}},
        {"KeyPress", 5, kMethod, VarType::Empty, {key_ascii}},
        {"KeyDown", 6, kMethod, VarType::Empty, {key_code, shift}},
        {"KeyUp", 7, kMethod, VarType::Empty, {key_code, shift}},
        {"MouseOver", 8, kMethod, VarType::Empty, {}},
        {"MouseOut", 9, kMethod, VarType::Empty, {}},
    };
    return t;
  }();
  return type;
}

orv::Ref<BtnVelnor> BtnVelnor::Create() {
  return orv::MakeRef<BtnVelnor>();
}

BtnVelnor::BtnVelnor() : events_(orv::Guid::FromLiteral(kEventsInterfaceId)) {}

BtnVelnor::~BtnVelnor() = default;

orv::ConnectionPoint* BtnVelnor::FindConnectionPoint(const orv::Guid& source_iid) noexcept {
  return source_iid == events_.iid() ? &events_ : nullptr;
}

void* BtnVelnor::QueryInterface(const orv::Guid& iid) noexcept {
  if (iid == orv::ConnectionPointContainer::kIid)
    return static_cast<orv::ConnectionPointContainer*>(this);
  return Dispatch::QueryInterface(iid);
}

void BtnVelnor::Raise(Event& event) {
  std::vector<Variant> args = ArgsOf(event);
  events_.Raise(static_cast<orv::DispId>(event.id), args);
}

}  // namespace velnor
