// The automation face of btnVelnor: identities, late-bound properties, events through the
// connection point, the property bag of automation values, and creation through the registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "orv/error.h"
#include "orv/registry.h"
#include "velnor/btn_velnor.h"
#include "velnor/font_object.h"
#include "velnor/variant_bag.h"

namespace velnor {
namespace {

using orv::DispId;
using orv::Ref;
using orv::Variant;
using orv::VarType;

// A sink of the source interface that records every call and may rewrite the first argument.
class RecordingSink final : public orv::Dispatch {
 public:
  struct Call {
    DispId id;
    std::vector<Variant> args;
  };
  std::vector<Call> calls;
  std::optional<Variant> rewrite_first;

  const orv::TypeInfo& Type() const noexcept override { return BtnVelnor::EventsType(); }
  Variant Invoke(DispId id, orv::InvokeKind, std::span<Variant> args) override {
    calls.push_back({id, std::vector<Variant>(args.begin(), args.end())});
    if (rewrite_first && !args.empty()) args[0] = *rewrite_first;
    return {};
  }
};

// A sink that declares only Click.
class ClickOnlySink final : public orv::Dispatch {
 public:
  int clicks = 0;
  const orv::TypeInfo& Type() const noexcept override {
    static const orv::TypeInfo type = [] {
      orv::TypeInfo t = BtnVelnor::EventsType();
      t.members.resize(1);
      return t;
    }();
    return type;
  }
  Variant Invoke(DispId, orv::InvokeKind, std::span<Variant>) override {
    ++clicks;
    return {};
  }
};

struct ControlTest : ::testing::Test {
  orv::Ref<BtnVelnor> control = BtnVelnor::Create();
  DetachedHost site{75, 23};

  ControlTest() {
    control->Site(site);
    control->button().InitProperties();
    control->button().Resize();
  }
  ~ControlTest() override { control->Unsite(); }
};

TEST(IdentityTest, ClassInterfaceAndMembers) {
  const orv::TypeInfo& t = BtnVelnor::Table().type();
  EXPECT_EQ(t.class_name, "btnVelnor");
  EXPECT_EQ(t.interface_name, "_btnVelnor");
  EXPECT_EQ(t.clsid.ToString(), "{168644EC-3C72-4209-B09D-BF5CF758DC60}");
  EXPECT_EQ(t.iid.ToString(), "{D8605E40-0F76-4E22-956B-0A87874D86FC}");
  struct Member {
    const char* name;
    DispId id;
    uint8_t kinds;
    VarType type;
  } expected[] = {
      {"Enabled", 0x68030004, orv::kPropertyGet | orv::kPropertyPut, VarType::Bool},
      {"Font", 0x68030003, orv::kPropertyGet | orv::kPropertyPutRef, VarType::Object},
      {"Caption", 0x68030002, orv::kPropertyGet | orv::kPropertyPut, VarType::Text},
      {"ForeColor", 0x68030001, orv::kPropertyGet | orv::kPropertyPut, VarType::Int32},
      {"ForeHover", 0x68030000, orv::kPropertyGet | orv::kPropertyPut, VarType::Int32},
  };
  ASSERT_EQ(t.members.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(t.members[i].name, expected[i].name);
    EXPECT_EQ(t.members[i].id, expected[i].id) << expected[i].name;
    EXPECT_EQ(t.members[i].kinds, expected[i].kinds) << expected[i].name;
    EXPECT_EQ(t.members[i].type, expected[i].type) << expected[i].name;
  }

  const orv::TypeInfo& e = BtnVelnor::EventsType();
  EXPECT_EQ(e.interface_name, "__btnVelnor");
  EXPECT_EQ(e.iid.ToString(), "{00D7DE90-BD79-4A46-BB1F-6C89FD8BC1C8}");
  const char* names[] = {"Click",   "MouseDown", "MouseMove", "MouseUp", "KeyPress",
                         "KeyDown", "KeyUp",     "MouseOver", "MouseOut"};
  const size_t arity[] = {0, 4, 4, 4, 1, 2, 2, 0, 0};
  ASSERT_EQ(e.members.size(), 9u);
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(e.members[i].name, names[i]);
    EXPECT_EQ(e.members[i].id, DispId(i + 1));
    ASSERT_EQ(e.members[i].params.size(), arity[i]) << names[i];
    for (const orv::ParamInfo& p : e.members[i].params) EXPECT_TRUE(p.by_ref) << names[i];
  }

  const orv::ComponentInfo& info = VelnorComponent();
  EXPECT_EQ(info.library_name, "VelnorButton");
  EXPECT_EQ(info.libid.ToString(), "{753B2C32-60A4-483E-B194-2FC60CD5AC82}");
  EXPECT_EQ(info.major, 4);
  EXPECT_EQ(info.minor, 0);
  ASSERT_EQ(info.classes.size(), 1u);
  EXPECT_EQ(info.classes[0].prog_id, "VelnorButton.btnVelnor");
}

TEST_F(ControlTest, LateBoundPropertiesReachTheButton) {
  control->Put("caption", "&Print");
  EXPECT_EQ(control->Get("Caption").ToText(), "&Print");
  EXPECT_EQ(site.access_keys(), "p");

  control->Put("Enabled", false);
  EXPECT_EQ(control->Get("Enabled").type(), VarType::Bool);
  EXPECT_FALSE(control->Get("Enabled").ToBool());
  EXPECT_FALSE(site.window_enabled());

  // Colours keep the bits of the colour reference; a system colour reads back negative.
  control->Put("ForeColor", Variant(int32_t(0x0000FF)));
  EXPECT_EQ(control->button().ForeColor(), Rgb(255, 0, 0));
  control->Put("ForeHover", Variant(2147483666.0));
  EXPECT_EQ(control->button().ForeHover(), 0x80000012u);
  EXPECT_EQ(control->Get("ForeHover").ToInt32(), int32_t(0x80000012u));

  // By dispatch id, as early-bound callers reach it.
  Variant on(true);
  control->Invoke(kDispEnabled, orv::kPropertyPut, std::span<Variant>(&on, 1));
  EXPECT_TRUE(control->button().Enabled());
}

TEST_F(ControlTest, FontIsSetByReferenceFromAnyFontObject) {
  Ref<FontObject> font = FontObject::Create(Font{"Serif", 12});
  font->Put("Bold", true);
  control->PutRef("Font", Variant(font));
  EXPECT_EQ(control->button().GetFont(), (Font{"Serif", 12, true}));

  // The object read back is a copy: changing it changes nothing until it is set again.
  Ref<orv::Dispatch> got = orv::AsDispatch(control->Get("Font"));
  EXPECT_EQ(got->Get("Name").ToText(), "Serif");
  got->Put("Italic", true);
  EXPECT_FALSE(control->button().GetFont().italic);
  control->PutRef("Font", Variant(got));
  EXPECT_TRUE(control->button().GetFont().italic);
}

TEST_F(ControlTest, MisuseGivesTheRuntimeErrors) {
  struct Case {
    const char* what;
    void (*call)(BtnVelnor&);
    int32_t number;
  } cases[] = {
      {"font by value", [](BtnVelnor& c) { c.Put("Font", Variant(FontObject::Create({}))); },
       orv::err::kNoSuchMember},
      {"font of nothing", [](BtnVelnor& c) { c.PutRef("Font", Variant()); },
       orv::err::kObjectNotSet},
      {"font of a number", [](BtnVelnor& c) { c.PutRef("Font", Variant(int16_t(3))); },
       orv::err::kTypeMismatch},
      {"colour of a word", [](BtnVelnor& c) { c.Put("ForeColor", "red"); },
       orv::err::kTypeMismatch},
      {"unknown member", [](BtnVelnor& c) { c.Get("BackColor"); }, orv::err::kNoSuchMember},
  };
  for (const Case& c : cases) {
    try {
      c.call(*control);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const orv::AutomationError& e) {
      EXPECT_EQ(e.number(), c.number) << c.what;
    }
  }
}

TEST_F(ControlTest, EventsReachSinksThroughTheConnectionPoint) {
  auto* container = orv::QueryAs<orv::ConnectionPointContainer>(control.get());
  ASSERT_NE(container, nullptr);
  orv::ConnectionPoint* point =
      container->FindConnectionPoint(orv::Guid::FromLiteral(kEventsInterfaceId));
  ASSERT_NE(point, nullptr);
  EXPECT_EQ(container->FindConnectionPoint(orv::Guid::FromLiteral(kInterfaceId)), nullptr);

  auto first = orv::MakeRef<RecordingSink>();
  auto second = orv::MakeRef<RecordingSink>();
  auto clicks = orv::MakeRef<ClickOnlySink>();
  first->rewrite_first = Variant(int16_t(99));
  point->Advise(first);
  point->Advise(second);
  point->Advise(clicks);

  Button& b = control->button();
  b.MouseDown(kLeftButton, 1, 2.5f, 3);
  b.MouseUp(kLeftButton, 1, 2.5f, 3);
  b.Click();
  b.KeyDown(kKeySpace, 2);
  b.KeyPress(32);
  b.KeyUp(kKeySpace, 2);
  b.TimerTick();

  const std::vector<DispId> ids = {2, 4, 1, 6, 5, 1, 7, 9};
  ASSERT_EQ(first->calls.size(), ids.size());
  for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(first->calls[i].id, ids[i]) << i;
  const auto& down = first->calls[0].args;
  ASSERT_EQ(down.size(), 4u);
  EXPECT_EQ(down[0].type(), VarType::Int16);
  EXPECT_EQ(down[0].int16(), 1);
  EXPECT_EQ(down[1].int16(), 1);
  EXPECT_EQ(down[2].ToDouble(), 2.5);
  EXPECT_EQ(down[3].ToDouble(), 3.0);
  EXPECT_EQ(first->calls[3].args[0].int16(), 32);  // KeyDown(KeyCode, Shift)
  EXPECT_EQ(first->calls[3].args[1].int16(), 2);
  // The change the first sink made to a by-reference argument is what the second one sees.
  EXPECT_EQ(second->calls[0].args[0].int16(), 99);
  // A sink receives only the events it declares.
  EXPECT_EQ(clicks->clicks, 2);
}

TEST_F(ControlTest, UnsitedControlKeepsWorking) {
  control->Unsite();
  control->Put("Caption", "&Go");
  EXPECT_EQ(control->Get("Caption").ToText(), "&Go");
  EXPECT_EQ(site.access_keys(), "");  // the former site is no longer used
  control->Site(site);
}

TEST_F(ControlTest, PropertyBagOfAutomationValues) {
  Button& b = control->button();
  b.SetCaption("Sa&ve");
  b.SetFont(Font{"Saved Face", 9.75, false, true});
  b.SetForeColor(SystemColor(kSysWindowText));
  b.SetForeHover(Rgb(0, 0, 255));
  b.SetEnabled(false);

  VariantPropertyBag bag;
  b.WriteProperties(bag);
  EXPECT_EQ(bag.Get("ENABLED")->type(), VarType::Bool);  // keys ignore case
  EXPECT_EQ(bag.Get("ForeColor")->int32(), int32_t(0x80000008u));
  EXPECT_EQ(bag.Get("Font")->type(), VarType::Object);

  DetachedHost other_site(75, 23);
  orv::Ref<BtnVelnor> copy = BtnVelnor::Create();
  copy->Site(other_site);
  copy->button().ReadProperties(bag);
  EXPECT_EQ(copy->button().Caption(), "Sa&ve");
  EXPECT_EQ(copy->button().GetFont(), (Font{"Saved Face", 9.75, false, true}));
  EXPECT_EQ(copy->button().ForeColor(), 0x80000008u);
  EXPECT_EQ(copy->button().ForeHover(), Rgb(0, 0, 255));
  EXPECT_FALSE(copy->button().Enabled());
  EXPECT_FALSE(other_site.window_enabled());
  EXPECT_EQ(other_site.access_keys(), "v");

  // Writing a default removes a key written earlier.
  b.SetEnabled(true);
  b.WriteProperties(bag);
  EXPECT_FALSE(bag.Get("Enabled").has_value());

  // A saved value of the wrong kind fails the load at its key with the runtime's error.
  bag.Set("Caption", Variant(int16_t(7)));
  bag.Set("ForeColor", Variant("blue"));
  try {
    copy->button().ReadProperties(bag);
    ADD_FAILURE() << "no error";
  } catch (const orv::AutomationError& e) {
    EXPECT_EQ(e.number(), orv::err::kTypeMismatch);
  }
  EXPECT_EQ(copy->button().Caption(), "7");
  copy->Unsite();
}

TEST(RegistryTest, LibraryRegistersItselfAndCreatesTheControl) {
  const std::filesystem::path file =
      std::filesystem::path(::testing::TempDir()) / "velnor-registry.txt";
  std::filesystem::remove(file);
  orv::Registry::RegisterLibrary(file, VELNOR_LIBRARY_PATH);
  std::ifstream in(file);
  bool listed = false;
  for (std::string line; std::getline(in, line);)
    listed |=
        line.rfind("{168644EC-3C72-4209-B09D-BF5CF758DC60}\tVelnorButton.btnVelnor\t", 0) == 0;
  EXPECT_TRUE(listed);

  orv::Registry::Instance().SetFile(file);
  Ref<orv::Dispatch> by_name = orv::CreateObject("VelnorButton.btnVelnor");
  ASSERT_TRUE(by_name);
  EXPECT_EQ(by_name->Type().class_name, "btnVelnor");
  // Unsited, with no properties initialised yet: disabled.
  EXPECT_FALSE(by_name->Get("Enabled").ToBool());
  by_name->Put("Caption", "OK");
  EXPECT_EQ(by_name->Get("Caption").ToText(), "OK");

  Ref<orv::Dispatch> by_id = orv::CreateObject(orv::Guid::FromLiteral(kClassId));
  ASSERT_TRUE(by_id);
  EXPECT_NE(by_id.get(), by_name.get());
}

}  // namespace
}  // namespace velnor
