// The access key a caption gives, and how the control hands it to the host.
#include "velnor/access_key.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velnor::test {
namespace {

TEST(AccessKeyTest, KeyFromCaption) {
  struct Case {
    const char* caption;
    const char* key;
  } cases[] = {
      {"&Save", "s"},
      {"&save", "s"},
      {"Sa&ve", "v"},
      {"Save&", ""},  // ends in the marker
      {"Save", ""},   // no marker
      {"S", ""},      // one character
      {"&", ""},
      {"", ""},
      {"Print && &Preview", "p"},  // one doubled pair looked past
      {"Fish && Chips", ""},       // a doubled pair and no marker
      {"A && B && &C", ""},        // two doubled pairs: looked past only once
      {"A && B &&", ""},           // the next "&" starts another pair
      {"A && B&", ""},             // the marker is the last character
      {"&&x", ""},
      {"&1", "1"},
      {"&Über", "\xC3\xBC"},  // characters, not bytes: U+00DC lowered to U+00FC
      {"\xC3\xA9&T", "t"},
  };
  for (const Case& c : cases) EXPECT_EQ(AccessKeyFor(c.caption), c.key) << c.caption;
}

TEST_F(ButtonFixture, CaptionSetsAccessKeysAfterClearingThem) {
  button.SetCaption("&Open");
  EXPECT_EQ(host.access_keys(), "o");
  EXPECT_EQ(host.log, (std::vector<std::string>{"SetAccessKeys()", "SetAccessKeys(o)",
                                                "PropertyChanged(Caption)"}));
  host.ClearLogs();
  button.SetCaption("Close");
  EXPECT_EQ(host.access_keys(), "");
  EXPECT_EQ(host.log, (std::vector<std::string>{"SetAccessKeys()", "PropertyChanged(Caption)"}));
}

TEST_F(ButtonFixture, AccessKeyClicksWhateverTheLastButton) {
  button.MouseDown(kRightButton, 0, 3, 4);
  host.ClearLogs();
  button.AccessKeyPressed();
  EXPECT_EQ(host.log, (std::vector<std::string>{"Refresh", "Click"}));
  EXPECT_EQ(button.state().last_button, kLeftButton);
}

}  // namespace
}  // namespace velnor::test
