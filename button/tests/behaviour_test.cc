// Event sequences of the button on a recording host: hover, presses, clicks, keys, focus and
// property changes, with the host services each one uses, in order.
#include <gtest/gtest.h>

#include "test_support.h"

namespace velnor::test {
namespace {

using Log = std::vector<std::string>;

constexpr ColorRef kPressedTopRow = Rgb(0xD1, 0xCC, 0xC0);
constexpr ColorRef kHoverTopRow = Rgb(0xFF, 0xF0, 0xCF);
constexpr ColorRef kFocusTopRow = Rgb(0xCE, 0xE7, 0xFB);

struct BehaviourTest : ButtonFixture {
  // The colour of row 1 in the middle tells the look apart: background (normal), pressed,
  // hover or focus highlight.
  ColorRef Look() { return surface().Pixel(37, 1); }
};

TEST(NewInstanceTest, CaptionFromDisplayNameAndDefaults) {
  struct Case {
    const char* display_name;
    const char* caption;
  } cases[] = {
      {"btnVelnor1", "Command"},         // 10 characters
      {"VelnorButton1", "Command"},      // 13
      {"VelnorButton12", "Command2"},    // 14
      {"VelnorButton123", "Command23"},  // 15: the last two
      {"", "Command"},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    host.SetAmbient({c.display_name, Font{"Ambient Sans", 10}, Rgb(4, 5, 6)});
    Button button(host, host);
    EXPECT_EQ(button.state().is_enabled, kFalse);
    button.InitProperties();
    EXPECT_EQ(button.Caption(), c.caption) << c.display_name;
    EXPECT_EQ(button.state().is_enabled, kTrue);
    EXPECT_EQ(button.GetFont().name, "Ambient Sans");
    EXPECT_EQ(button.ForeHover(), 0u);
    EXPECT_EQ(button.ForeColor(), Rgb(1, 2, 3));  // the host's default stays
    EXPECT_TRUE(host.log.empty());                // no access keys, no window flag
  }
}

TEST_F(BehaviourTest, TimerRunningAtCreationReportsMouseOutOnce) {
  EXPECT_TRUE(host.timer_enabled());
  button.TimerTick();
  EXPECT_EQ(host.log, (Log{"SetTimer(0)", "MouseOut"}));
  EXPECT_FALSE(host.timer_enabled());
}

TEST_F(BehaviourTest, HoverEnterRestAndLeave) {
  button.TimerTick();
  host.ClearLogs();

  host.pointer_over = true;
  for (int i = 0; i < 5; ++i) button.MouseMove(0, 0, float(10 + i), 5);
  EXPECT_EQ(host.log,
            (Log{"SetTimer(1)", "MouseOver", "MouseMove(0,0,10,5)", "MouseMove(0,0,11,5)"}));
  EXPECT_EQ(Look(), kHoverTopRow);
  EXPECT_EQ(button.state().move_latch, 1);

  host.ClearLogs();
  button.TimerTick();  // still over: nothing
  EXPECT_TRUE(host.log.empty());

  host.pointer_over = false;
  button.TimerTick();
  EXPECT_EQ(host.log, (Log{"SetTimer(0)", "MouseOut"}));
  EXPECT_EQ(button.state().is_hovering, kFalse);
  EXPECT_EQ(button.state().move_latch, 0);
  EXPECT_EQ(Look(), RecordingHost::kBackground);
}

TEST_F(BehaviourTest, MovesOutsideReportOnlyWhileLatched) {
  host.pointer_over = true;
  button.MouseMove(0, 0, 1, 1);  // MouseOver, latch back to 0
  button.MouseMove(0, 0, 2, 2);  // latch 1
  host.pointer_over = false;
  host.ClearLogs();
  const int repaints = host.repaints;
  button.MouseMove(0, 0, 90, 2);  // latched: released look, MouseMove
  EXPECT_EQ(host.log, (Log{"MouseMove(0,0,90,2)"}));
  EXPECT_EQ(host.repaints, repaints + 1);

  button.TimerTick();  // unlatches
  host.ClearLogs();
  button.MouseMove(0, 0, 91, 2);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(BehaviourTest, RightAndMiddleDragsAlwaysReportMoves) {
  host.ClearLogs();
  const int repaints = host.repaints;
  button.MouseMove(kRightButton, 1, 5, 6);
  button.MouseMove(kMiddleButton | kLeftButton, 0, 7, 8);
  EXPECT_EQ(host.log, (Log{"MouseMove(2,1,5,6)", "MouseMove(5,0,7,8)"}));
  EXPECT_EQ(host.repaints, repaints);
}

TEST_F(BehaviourTest, LeftPressReleaseClick) {
  button.MouseDown(kLeftButton, 0, 12.5f, 7);
  EXPECT_EQ(Look(), kPressedTopRow);
  button.MouseUp(kLeftButton, 0, 12.5f, 7);
  EXPECT_EQ(Look(), RecordingHost::kBackground);
  button.Click();
  EXPECT_EQ(host.log, (Log{"Refresh", "MouseDown(1,0,12.5,7)", "Refresh", "MouseUp(1,0,12.5,7)",
                           "Refresh", "Click"}));
  EXPECT_EQ(button.state().last_button, kLeftButton);
}

TEST_F(BehaviourTest, RightPressDoesNotRedrawOrClick) {
  const int repaints = host.repaints;
  button.MouseDown(kRightButton, 2, 3, 4);
  EXPECT_EQ(host.repaints, repaints);
  EXPECT_EQ(button.state().last_button, kRightButton);
  button.Click();
  EXPECT_EQ(host.log, (Log{"Refresh", "MouseDown(2,2,3,4)"}));
}

TEST_F(BehaviourTest, MiddlePressRedrawsReleasedLookAndDoesNotClick) {
  button.GotFocus();
  button.MouseDown(kLeftButton, 0, 1, 1);
  button.MouseUp(kLeftButton, 0, 1, 1);
  const int repaints = host.repaints;
  host.ClearLogs();
  button.MouseDown(kMiddleButton, 0, 3, 4);
  EXPECT_EQ(host.repaints, repaints + 1);
  EXPECT_EQ(Look(), kFocusTopRow);
  button.Click();
  EXPECT_EQ(host.log, (Log{"Refresh", "MouseDown(4,0,3,4)"}));
}

TEST_F(BehaviourTest, DoubleClickAfterLeftClickPressesAndCaptures) {
  button.MouseDown(kLeftButton, 0, 1, 1);
  button.MouseUp(kLeftButton, 0, 1, 1);
  button.Click();
  host.ClearLogs();
  button.DoubleClick();
  EXPECT_EQ(host.log, (Log{"Refresh", "MouseDown(1,0,0,0)", "CaptureMouse"}));
  EXPECT_EQ(Look(), kPressedTopRow);
}

TEST_F(BehaviourTest, DoubleClickAfterOtherButtonsDoesNothing) {
  for (int16_t b : {int16_t{0}, kRightButton, kMiddleButton}) {
    if (b) button.MouseDown(b, 0, 1, 1);
    host.ClearLogs();
    button.DoubleClick();
    EXPECT_TRUE(host.log.empty()) << b;
  }
}

TEST_F(BehaviourTest, DisabledIgnoresPressesButReportsReleases) {
  button.SetEnabled(false);
  host.ClearLogs();
  button.MouseDown(kLeftButton, 0, 1, 1);
  button.MouseUp(kLeftButton, 0, 1, 1);
  EXPECT_EQ(host.log, (Log{"Refresh", "MouseUp(1,0,1,1)"}));
  EXPECT_EQ(button.state().last_button, 0);
  EXPECT_EQ(surface().Pixel(37, 1), Rgb(0xF5, 0xF4, 0xEA));
}

TEST_F(BehaviourTest, SpaceClickFromTheKeyboard) {
  button.GotFocus();  // never clicked: no pressed look on focus
  EXPECT_EQ(Look(), kFocusTopRow);
  host.ClearLogs();

  button.KeyDown(kKeySpace, 0);
  EXPECT_EQ(Look(), kFocusTopRow);  // the pressed look needs a left press first
  button.KeyPress(32);
  button.KeyUp(kKeySpace, 0);
  EXPECT_EQ(host.log, (Log{"KeyDown(32,0)", "KeyPress(32)", "Refresh", "Click", "KeyUp(32,0)"}));
  EXPECT_EQ(button.state().last_button, kLeftButton);

  button.KeyDown(kKeySpace, 0);
  EXPECT_EQ(Look(), kPressedTopRow);
}

TEST_F(BehaviourTest, ClickNeedsTheSameKeyReleased) {
  button.KeyDown(kKeyReturn, 0);
  button.KeyDown(kKeySpace, 0);
  host.ClearLogs();
  button.KeyUp(kKeyReturn, 0);
  EXPECT_EQ(host.log, (Log{"KeyUp(13,0)"}));
  button.KeyUp(kKeySpace, 0);
  EXPECT_EQ(host.log, (Log{"KeyUp(13,0)", "Refresh", "Click", "KeyUp(32,0)"}));
  // The last key code is kept: a second release of space clicks again.
  button.KeyUp(kKeySpace, 0);
  EXPECT_EQ(host.EventLog().back(), "KeyUp(32,0)");
  EXPECT_EQ(host.events.size(), 5u);
}

TEST_F(BehaviourTest, ArrowsMoveTheFocus) {
  struct Case {
    int16_t key;
    const char* move;
  } cases[] = {{kKeyRight, "MoveFocus(next)"},
               {kKeyLeft, "MoveFocus(next)"},
               {kKeyDown, "MoveFocus(previous)"},
               {kKeyUp, "MoveFocus(previous)"}};
  for (const Case& c : cases) {
    host.ClearLogs();
    button.KeyDown(c.key, 1);
    EXPECT_EQ(host.log, (Log{c.move, "KeyDown(" + std::to_string(c.key) + ",1)"}));
  }
  host.ClearLogs();
  button.KeyDown(65, 0);
  EXPECT_EQ(host.log, (Log{"KeyDown(65,0)"}));
}

TEST_F(BehaviourTest, FocusLossClearsHoverButNotTheLatchOrTimer) {
  host.pointer_over = true;
  button.MouseMove(0, 0, 1, 1);
  button.MouseMove(0, 0, 2, 2);  // latched
  button.GotFocus();
  button.LostFocus();
  EXPECT_EQ(button.state().is_hovering, kFalse);
  EXPECT_EQ(button.state().move_latch, 1);
  EXPECT_TRUE(host.timer_enabled());
  EXPECT_EQ(Look(), RecordingHost::kBackground);

  host.ClearLogs();
  button.MouseMove(0, 0, 3, 3);  // still latched: ignored
  EXPECT_TRUE(host.log.empty());
  button.MouseMove(0, 0, 4, 4);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(BehaviourTest, FocusAfterALeftClickShowsThePressedLook) {
  button.MouseDown(kLeftButton, 0, 1, 1);
  button.MouseUp(kLeftButton, 0, 1, 1);
  button.GotFocus();
  EXPECT_EQ(Look(), kPressedTopRow);
}

TEST_F(BehaviourTest, PropertyPutsInOrder) {
  struct Case {
    const char* name;
    void (*put)(Button&);
    Log log;
    bool repaints;
  } cases[] = {
      {"Enabled", [](Button& b) { b.SetEnabled(false); },
       Log{"PropertyChanged(Enabled)", "SetWindowEnabled(0)"}, true},
      {"Font",
       [](Button& b) {
         b.SetFont(Font{"Other", 12});
       },
       Log{"PropertyChanged(Font)"}, true},
      {"Caption", [](Button& b) { b.SetCaption("OK"); },
       Log{"SetAccessKeys()", "PropertyChanged(Caption)"}, true},
      {"ForeColor", [](Button& b) { b.SetForeColor(Rgb(1, 1, 1)); },
       Log{"PropertyChanged(ForeColor)"}, true},
      {"ForeHover", [](Button& b) { b.SetForeHover(Rgb(1, 1, 1)); },
       Log{"PropertyChanged(ForeHover)"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.ClearLogs();
    const int repaints = host.repaints;
    c.put(button);
    EXPECT_EQ(host.log, c.log);
    EXPECT_EQ(host.repaints, repaints + (c.repaints ? 1 : 0));
  }
  EXPECT_EQ(button.GetFont().name, "Other");
  EXPECT_EQ(button.Caption(), "OK");
  EXPECT_FALSE(button.Enabled());
}

TEST_F(BehaviourTest, FailingNoticeKeepsTheStoredValueOnly) {
  host.fail_on = "PropertyChanged";
  EXPECT_THROW(button.SetEnabled(false), std::runtime_error);
  EXPECT_EQ(button.state().is_enabled, kFalse);
  EXPECT_TRUE(host.window_enabled());
  EXPECT_EQ(Look(), RecordingHost::kBackground);  // still the enabled picture
}

TEST_F(BehaviourTest, EnabledPutRedrawsTheDisabledLook) {
  button.SetEnabled(false);
  EXPECT_FALSE(host.window_enabled());
  EXPECT_EQ(surface().Pixel(37, 1), Rgb(0xF5, 0xF4, 0xEA));
  button.SetEnabled(true);
  EXPECT_TRUE(host.window_enabled());
  EXPECT_EQ(Look(), RecordingHost::kBackground);
}

}  // namespace
}  // namespace velnor::test
