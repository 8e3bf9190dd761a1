// btnVelnor, the control class of the VelnorButton library: the button's automation face.
//
// A BtnVelnor owns the button's behaviour (Button) and the connection point of its source
// interface, through which it raises the nine events. It is drawn by a host: the container's
// window once the container sites it (Site), its own window-less host before that and after
// Unsite. Properties are reached late-bound (Invoke with the dispatch ids below) or directly
// through button().
#pragma once

#include <cstdint>
#include <string_view>

#include "orv/dispatch.h"
#include "orv/events.h"
#include "velnor/button.h"
#include "velnor/detached_host.h"
#include "velnor/export.h"
#include "velnor/font_object.h"

namespace orv {
struct ComponentInfo;
}

namespace velnor {

// Identities containers bind to.
inline constexpr std::string_view kLibraryName = "VelnorButton";
inline constexpr std::string_view kLibraryId = "{753B2C32-60A4-483E-B194-2FC60CD5AC82}";
inline constexpr uint16_t kLibMajor = 4;
inline constexpr uint16_t kLibMinor = 0;
inline constexpr std::string_view kClassName = "btnVelnor";
inline constexpr std::string_view kProgId = "VelnorButton.btnVelnor";
inline constexpr std::string_view kClassId = "{168644EC-3C72-4209-B09D-BF5CF758DC60}";
inline constexpr std::string_view kInterfaceName = "_btnVelnor";
inline constexpr std::string_view kInterfaceId = "{D8605E40-0F76-4E22-956B-0A87874D86FC}";
inline constexpr std::string_view kEventsName = "__btnVelnor";
inline constexpr std::string_view kEventsInterfaceId = "{00D7DE90-BD79-4A46-BB1F-6C89FD8BC1C8}";

// Dispatch ids of the properties, in interface order.
inline constexpr orv::DispId kDispEnabled = 0x68030004;
inline constexpr orv::DispId kDispFont = 0x68030003;
inline constexpr orv::DispId kDispCaption = 0x68030002;
inline constexpr orv::DispId kDispForeColor = 0x68030001;
inline constexpr orv::DispId kDispForeHover = 0x68030000;

class VELNOR_API BtnVelnor final : public orv::DispatchObject<BtnVelnor>,
                                   public orv::ConnectionPointContainer,
                                   private EventSink {
 public:
  static const orv::ClassTable<BtnVelnor>& Table();
  // The source interface __btnVelnor: Click (1) ... MouseOut (9), every argument by reference.
  // Sinks declare the events they handle with this type.
  static const orv::TypeInfo& EventsType();

  // A control not yet sited in a container.
  static orv::Ref<BtnVelnor> Create();
  BtnVelnor();

  // Draws into `site` from now on. The site must call Unsite before it goes away.
  void Site(Host& site) { button_.SetHost(site); }
  // Back to the control's own window-less host (the picture starts anew there).
  void Unsite() { button_.SetHost(detached_); }

  Button& button() { return button_; }
  const Button& button() const { return button_; }
  orv::ConnectionPoint& events() { return events_; }

  orv::ConnectionPoint* FindConnectionPoint(const orv::Guid& source_iid) noexcept override;
  void* QueryInterface(const orv::Guid& iid) noexcept override;

 private:
  ~BtnVelnor() override;
  void Raise(Event& event) override;

  DetachedHost detached_;
  Button button_{detached_, *this};
  orv::ConnectionPoint events_;
};

// Colours cross the late-bound boundary as 32-bit integers with the bits of the colour reference
// (system colours are negative). A double in 0 .. 0xFFFFFFFF is taken as the unsigned value.
VELNOR_API ColorRef ColorFromVariant(const orv::Variant& v);
VELNOR_API orv::Variant ColorToVariant(ColorRef c);

// The library's description for the class registry (name, library id, version, classes).
VELNOR_API const orv::ComponentInfo& VelnorComponent();

}  // namespace velnor
