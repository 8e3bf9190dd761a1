#include "orv/variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "error_of.h"
#include "orv/error.h"

namespace orv {
namespace {

TEST(Int16Conversion, RoundsHalvesToEvenAndChecksRange) {
  struct Case {
    double in;
    int expected;  // or the error number when `error`
    bool error;
  };
  const Case cases[] = {
      {0.5, 0, false},
      {1.5, 2, false},
      {2.5, 2, false},
      {-0.5, 0, false},
      {-1.5, -2, false},
      {-2.5, -2, false},
      {2.4999, 2, false},
      {32767.4, 32767, false},
      {32767.5, err::kOverflow, true},
      {-32768.5, -32768, false},
      {-32768.6, err::kOverflow, true},
      {1e10, err::kOverflow, true},
      {NAN, err::kOverflow, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    if (c.error)
      EXPECT_EQ(ErrorNumberOf([&] { Variant(c.in).ToInt16(); }), c.expected);
    else
      EXPECT_EQ(Variant(c.in).ToInt16(), c.expected);
  }
}

TEST(Int16Conversion, FromOtherTypes) {
  EXPECT_EQ(Variant().ToInt16(), 0);
  EXPECT_EQ(Variant(true).ToInt16(), -1);
  EXPECT_EQ(Variant(" 12.5 ").ToInt16(), 12);
  EXPECT_EQ(Variant(int32_t{40000}).ConvertTo(VarType::Double).dbl(), 40000.0);
  EXPECT_EQ(ErrorNumberOf([] { Variant(int32_t{40000}).ToInt16(); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { Variant::MakeNull().ToInt16(); }), err::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([] { Variant("12abc").ToInt16(); }), err::kTypeMismatch);
  EXPECT_EQ(AddInt16(32766, 1), 32767);
  EXPECT_EQ(ErrorNumberOf([] { AddInt16(32767, 1); }), err::kOverflow);
}

TEST(TextForm, OfEachType) {
  struct Case {
    Variant in;
    const char* text;
  };
  const Case cases[] = {
      {Variant(), ""},
      {Variant(int16_t{-7}), "-7"},
      {Variant(0.1 + 0.2), "0.3"},
      {Variant(66153.6), "66153.6"},
      {Variant(15600.0), "15600"},
      {Variant(1e20), "1E+20"},
      {Variant(0.00001), "1E-05"},
      {Variant(0.0001), "0.0001"},
      {Variant(-0.0), "0"},
      {Variant(123456789012345.0), "123456789012345"},
      {Variant(true), "True"},
      {Variant(Date{39539}), "2008-04-01"},
      {Variant("O'Brien"), "O'Brien"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.in.ToText(), c.text);
  EXPECT_EQ(ErrorNumberOf([] { Variant::MakeNull().ToText(); }), err::kInvalidUseOfNull);
  EXPECT_EQ(Variant::MakeNull().JoinText(), "");
  EXPECT_EQ(Variant(int16_t{5}).JoinText(), "5");
}

TEST(NumericParse, TakesTheLeadingNumber) {
  struct Case {
    const char* in;
    double out;
  };
  const Case cases[] = {
      {"", 0},       {"abc", 0}, {"  42", 42},      {"-3.5kg", -3.5}, {"+7", 7},
      {"1e3", 1000}, {"1e", 1},  {"2.5E-1x", 0.25}, {".5", 0.5},      {"5.", 5},
      {"-", 0},      {"1 2", 1}, {"0x10", 0},       {"\t\n 9", 9},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ParseNumber(c.in), c.out) << c.in;
  EXPECT_EQ(Variant::MakeNull().ParseNumber(), 0);
}

TEST(Dates, RoundTripThroughTextAndParts) {
  Date d;
  ASSERT_TRUE(ParseDate("2008-10-27 16:45:30", &d));
  EXPECT_NEAR(d.value, 39748.698263888889, 1e-9);
  EXPECT_EQ(FormatDate(d), "2008-10-27 16:45:30");
  ASSERT_TRUE(ParseDate("1899-12-30", &d));
  EXPECT_EQ(d.value, 0);
  ASSERT_TRUE(ParseDate("1899-12-29 06:00:00", &d));
  EXPECT_DOUBLE_EQ(d.value, -1.25);
  EXPECT_EQ(FormatDate(d), "1899-12-29 06:00:00");
  EXPECT_EQ(FormatDate(MakeDate({2009, 3, 31})), "2009-03-31");
  for (const char* bad : {"2009-02-29", "2008-13-01", "2008-4-1", "yesterday", "2008-04-01 25:00"})
    EXPECT_FALSE(ParseDate(bad, &d)) << bad;
  EXPECT_EQ(Variant("2008-04-01").ToDate().value, 39539);
}

TEST(Conversion, AssignmentToTypedProperty) {
  EXPECT_EQ(Variant().ConvertTo(VarType::Text), Variant(""));
  EXPECT_EQ(Variant().ConvertTo(VarType::Int16), Variant(int16_t{0}));
  EXPECT_EQ(Variant("3").ConvertTo(VarType::Double), Variant(3.0));
  EXPECT_EQ(Variant(int16_t{3}).ConvertTo(VarType::Text), Variant("3"));
  EXPECT_EQ(Variant(int16_t{0}).ConvertTo(VarType::Bool), Variant(false));
  EXPECT_EQ(ErrorNumberOf([] { Variant::MakeNull().ConvertTo(VarType::Text); }),
            err::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([] { Variant("x").ConvertTo(VarType::Bool); }), err::kTypeMismatch);
}

TEST(Arrays, CopiesAreDeep) {
  SafeArray a;
  a.items = {Variant(int16_t{1}), Variant("x")};
  Variant v(a);
  Variant w = v;
  w.array().items[0] = Variant(int16_t{2});
  EXPECT_EQ(v.array().items[0], Variant(int16_t{1}));
  EXPECT_FALSE(v == w);
  EXPECT_EQ(ErrorNumberOf([] { Variant(int16_t{1}).array(); }), err::kTypeMismatch);
}

}  // namespace
}  // namespace orv
