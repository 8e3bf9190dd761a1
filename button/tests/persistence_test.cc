// Loading and saving the five persisted properties through the container's property bag.
#include <gtest/gtest.h>

#include "test_support.h"

namespace velnor::test {
namespace {

using Log = std::vector<std::string>;

// The recording host's ambient values: display name "Form1Button17", font "Ambient Sans",
// foreground colour #090909.
struct PersistenceTest : ButtonFixture {
  MemoryBag bag;
};

TEST_F(PersistenceTest, SaveWritesTheFiveKeysWithTheirDefaults) {
  button.WriteProperties(bag);
  EXPECT_EQ(bag.writes, (Log{"Enabled=true|true", "Font=Ambient Sans|Ambient Sans",
                             "Caption=Command|Form1Button17", "ForeColor=#010203|-",
                             "ForeHover=#000000|#010203"}));
  // Only what differs from its default is stored; the foreground colour always is.
  EXPECT_EQ(bag.values.size(), 3u);
  EXPECT_TRUE(bag.values.contains("Caption"));
  EXPECT_TRUE(bag.values.contains("ForeColor"));
  EXPECT_TRUE(bag.values.contains("ForeHover"));
}

TEST_F(PersistenceTest, LoadFromAnEmptyBagGivesTheDefaults) {
  const int repaints = host.repaints;
  button.ReadProperties(bag);
  EXPECT_EQ(bag.reads, (Log{"Enabled|true", "Font|Ambient Sans", "Caption|Form1Button17",
                            "ForeColor|#090909", "ForeHover|#090909"}));
  EXPECT_EQ(button.state().is_enabled, kTrue);
  EXPECT_EQ(button.GetFont().name, "Ambient Sans");
  EXPECT_EQ(button.Caption(), "Form1Button17");
  EXPECT_EQ(button.ForeColor(), Rgb(9, 9, 9));
  EXPECT_EQ(button.ForeHover(), Rgb(9, 9, 9));
  // The window flag and the access keys follow; nothing is drawn until resize or show.
  EXPECT_EQ(host.log, (Log{"SetWindowEnabled(1)", "SetAccessKeys()"}));
  EXPECT_EQ(host.repaints, repaints);
}

TEST_F(PersistenceTest, LoadAppliesSavedValues) {
  bag.values = {{"Enabled", false},
                {"Font", Font{"Saved", 14, true}},
                {"Caption", std::string("E&xit")},
                {"ForeColor", Rgb(200, 0, 0)}};
  const int repaints = host.repaints;
  button.ReadProperties(bag);
  EXPECT_EQ(button.state().is_enabled, kFalse);
  EXPECT_EQ(button.GetFont(), (Font{"Saved", 14, true}));
  EXPECT_EQ(button.Caption(), "E&xit");
  EXPECT_EQ(button.ForeColor(), Rgb(200, 0, 0));
  EXPECT_EQ(button.ForeHover(), Rgb(200, 0, 0));  // no hover colour: the one just loaded
  EXPECT_EQ(host.log, (Log{"SetWindowEnabled(0)", "SetAccessKeys()", "SetAccessKeys(x)"}));
  EXPECT_EQ(host.repaints, repaints);
}

TEST_F(PersistenceTest, RoundTripKeepsEveryValue) {
  struct Case {
    const char* name;
    ColorRef fore, hover;
  } cases[] = {
      {"distinct colours", Rgb(200, 0, 0), Rgb(0, 0, 200)},
      {"hover equals the ambient colour", Rgb(200, 0, 0), Rgb(9, 9, 9)},
      {"hover equals the foreground", Rgb(200, 0, 0), Rgb(200, 0, 0)},
      {"both ambient", Rgb(9, 9, 9), Rgb(9, 9, 9)},
      {"new instance hover black", Rgb(9, 9, 9), Rgb(0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button.SetEnabled(false);
    button.SetCaption("Sa&ve");
    button.SetFont(Font{"Bold One", 11, true});
    button.SetForeColor(c.fore);
    button.SetForeHover(c.hover);
    MemoryBag saved;
    button.WriteProperties(saved);

    RecordingHost other;
    Button copy(other, other);
    copy.ReadProperties(saved);
    EXPECT_EQ(copy.Enabled(), false);
    EXPECT_EQ(copy.Caption(), "Sa&ve");
    EXPECT_EQ(copy.GetFont(), (Font{"Bold One", 11, true}));
    EXPECT_EQ(copy.ForeColor(), c.fore);
    EXPECT_EQ(copy.ForeHover(), c.hover);
    EXPECT_EQ(other.access_keys(), "v");
  }
}

TEST_F(PersistenceTest, LoadStopsAtAValueOfTheWrongType) {
  bag.values = {
      {"Enabled", false}, {"Caption", std::string("Loaded")}, {"ForeColor", std::string("red")}};
  EXPECT_THROW(button.ReadProperties(bag), std::invalid_argument);
  EXPECT_EQ(button.state().is_enabled, kFalse);  // applied before the failure
  EXPECT_EQ(button.Caption(), "Loaded");
  EXPECT_EQ(button.ForeHover(), 0u);  // never reached
  EXPECT_TRUE(host.log.empty());      // no window flag, no access keys
}

}  // namespace
}  // namespace velnor::test
