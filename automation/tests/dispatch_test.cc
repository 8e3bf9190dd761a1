#include "orv/dispatch.h"

#include <gtest/gtest.h>

#include "error_of.h"
#include "orv/events.h"

namespace orv {
namespace {

// A small class written the way components write theirs.
class Counter : public DispatchObject<Counter> {
 public:
  static const ClassTable<Counter>& Table();
  int16_t value = 0;
  std::string name;
};

const ClassTable<Counter>& Counter::Table() {
  static const ClassTable<Counter> table(
      "Counter", "{11111111-2222-3333-4444-555555555555}", "_Counter",
      "{11111111-2222-3333-4444-666666666666}",
      {
          {{"Value", 0x68030001, kPropertyGet | kPropertyPut, VarType::Int16},
           [](Counter& c) { return Variant(c.value); },
           [](Counter& c, const Variant& v) { c.value = v.ToInt16(); }},
          {{"Name", 0x68030000, kPropertyGet, VarType::Text},
           [](Counter& c) { return Variant(c.name); }},
          {{"AddTo",
            0x60030000,
            kMethod,
            VarType::Int16,
            {{"intBy", VarType::Int16}, {"total", VarType::Int16, true}}},
           nullptr,
           nullptr,
           [](Counter& c, std::span<Variant> a) {
             c.value = AddInt16(c.value, a[0].ToInt16());
             a[1] = Variant(c.value);  // by reference
             return Variant(c.value);
           }},
      });
  return table;
}

TEST(Dispatch, NamesMatchWithoutCaseAndIdsComeFromTheTable) {
  auto c = MakeRef<Counter>();
  EXPECT_EQ(c->IdOfName("value"), 0x68030001);
  EXPECT_EQ(c->IdOfName("ADDTO"), 0x60030000);
  c->Put("VALUE", Variant("41"));
  EXPECT_EQ(c->Get("Value"), Variant(int16_t{41}));
  std::vector<Variant> args{Variant(int16_t{1}), Variant()};
  EXPECT_EQ(c->Call("addto", args), Variant(int16_t{42}));
  EXPECT_EQ(args[1], Variant(int16_t{42})) << "by-reference argument written back";
  ASSERT_EQ(c->Type().members.size(), 3u);
  EXPECT_EQ(c->Type().members[2].name, "AddTo");
}

TEST(Dispatch, WrongUseIsAClearError) {
  auto c = MakeRef<Counter>();
  EXPECT_EQ(ErrorNumberOf([&] { c->IdOfName("Missing"); }), err::kNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { c->Put("Name", Variant("x")); }), err::kNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { c->Call("Value", {}); }), err::kNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { c->Call("AddTo", {Variant(int16_t{1})}); }),
            err::kWrongArgumentCount);
  EXPECT_EQ(ErrorNumberOf([&] { c->Invoke(0x12345, kMethod, {}); }), err::kNoSuchMember);
  c->Put("Value", Variant(int16_t{32767}));
  EXPECT_EQ(ErrorNumberOf([&] {
              c->Call("AddTo", {Variant(int16_t{1}), Variant()});
            }),
            err::kOverflow);
  EXPECT_EQ(c->Get("Value"), Variant(int16_t{32767}));
}

TEST(Objects, QueryInterfaceAndReferenceCounts) {
  auto c = MakeRef<Counter>();
  EXPECT_EQ(c->RefCount(), 1u);
  {
    Variant held(c);
    EXPECT_EQ(c->RefCount(), 2u);
    EXPECT_EQ(AsDispatch(held).get(), c.get());
  }
  EXPECT_EQ(c->RefCount(), 1u);
  EXPECT_EQ(c->QueryInterface(Counter::Table().type().iid), static_cast<Dispatch*>(c.get()));
  EXPECT_NE(c->QueryInterface(kIidUnknown), nullptr);
  EXPECT_EQ(c->QueryInterface(Guid::FromLiteral("{00000000-0000-0000-0000-000000000001}")),
            nullptr);
  EXPECT_EQ(ErrorNumberOf([] { AsDispatch(Variant()); }), err::kObjectNotSet);
  EXPECT_EQ(ErrorNumberOf([] { AsDispatch(Variant(int16_t{1})); }), err::kTypeMismatch);
}

TEST(Events, RaisedToEverySinkWithByReferenceArguments) {
  ConnectionPoint cp(Guid::FromLiteral("{11111111-2222-3333-4444-777777777777}"));
  auto a = MakeRef<Counter>(), b = MakeRef<Counter>();
  const uint32_t ca = cp.Advise(a);
  cp.Advise(b);
  std::vector<Variant> args{Variant(int16_t{5}), Variant()};
  cp.Raise(0x60030000, args);
  EXPECT_EQ(a->value, 5);
  EXPECT_EQ(b->value, 5);
  EXPECT_EQ(args[1], Variant(int16_t{5}));
  EXPECT_TRUE(cp.Unadvise(ca));
  EXPECT_FALSE(cp.Unadvise(ca));
  cp.Raise(0x60030000, args);
  EXPECT_EQ(a->value, 5);
  EXPECT_EQ(b->value, 10);
}

TEST(Guids, ParseAndPrint) {
  const char* text = "{0C3559DC-5C85-438E-A03B-893719458854}";
  auto g = Guid::Parse(text);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->ToString(), text);
  EXPECT_EQ(Guid::Parse("0c3559dc-5c85-438e-a03b-893719458854"), g);
  for (const char* bad :
       {"", "{0C3559DC-5C85-438E-A03B-89371945885}", "{0C3559DC+5C85-438E-A03B-893719458854}",
        "{0C3559DC-5C85-438E-A03B-89371945885G}"})
    EXPECT_FALSE(Guid::Parse(bad)) << bad;
}

}  // namespace
}  // namespace orv
