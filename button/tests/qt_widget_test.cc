// The real widget under Qt's off-screen platform: its picture and shape on screen, the Qt input
// it maps to the control, and the signals that mirror the control's events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QImage>
#include <QTest>
#include <deque>
#include <string>
#include <vector>

#include "velnor/velnor_button_widget.h"

namespace velnor {
namespace {

QRgb RgbOf(ColorRef c) {
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

// A form with three buttons side by side; the middle one is under test.
struct WidgetTest : ::testing::Test {
  QWidget form;
  VelnorButtonWidget* left = new VelnorButtonWidget(QStringLiteral("VelnorButton1"), &form);
  VelnorButtonWidget* button = new VelnorButtonWidget(QStringLiteral("VelnorButton12"), &form);
  VelnorButtonWidget* right = new VelnorButtonWidget(QStringLiteral("VelnorButton3"), &form);
  std::vector<std::string> signals_seen;

  WidgetTest() {
    auto* layout = new QHBoxLayout(&form);
    for (VelnorButtonWidget* b : {left, button, right}) {
      b->setFixedSize(75, 23);
      layout->addWidget(b);
    }
    Record();
    QCursor::setPos(0, 0);
    form.move(100, 100);
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The hover timer runs from creation and reports the pointer away once.
    EXPECT_TRUE(WaitFor("mouseOut"));
    signals_seen.clear();
  }

  void Record() {
    auto add = [this](std::string s) { signals_seen.push_back(std::move(s)); };
    auto mouse = [add](const char* name) {
      return [add, name](short b, short s, float x, float y) {
        add(std::string(name) + "(" + std::to_string(b) + "," + std::to_string(s) + "," +
            std::to_string(int(x)) + "," + std::to_string(int(y)) + ")");
      };
    };
    QObject::connect(button, &VelnorButtonWidget::clicked, [add] { add("clicked"); });
    QObject::connect(button, &VelnorButtonWidget::mouseDown, mouse("mouseDown"));
    QObject::connect(button, &VelnorButtonWidget::mouseUp, mouse("mouseUp"));
    QObject::connect(button, &VelnorButtonWidget::mouseMove, mouse("mouseMove"));
    QObject::connect(button, &VelnorButtonWidget::keyPress,
                     [add](short k) { add("keyPress(" + std::to_string(k) + ")"); });
    QObject::connect(button, &VelnorButtonWidget::keyDown, [add](short k, short s) {
      add("keyDown(" + std::to_string(k) + "," + std::to_string(s) + ")");
    });
    QObject::connect(button, &VelnorButtonWidget::keyUp, [add](short k, short s) {
      add("keyUp(" + std::to_string(k) + "," + std::to_string(s) + ")");
    });
    QObject::connect(button, &VelnorButtonWidget::mouseOver, [add] { add("mouseOver"); });
    QObject::connect(button, &VelnorButtonWidget::mouseOut, [add] { add("mouseOut"); });
  }

  // Runs the event loop until `signal` has been seen (the hover timer ticks every 100 ms).
  bool WaitFor(const std::string& signal) {
    return QTest::qWaitFor(
        [&] {
          return std::find(signals_seen.begin(), signals_seen.end(), signal) != signals_seen.end();
        },
        5000);
  }

  // What the screen shows of the button.
  QImage Screen() { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(WidgetTest, ShowsTheNormalLookShapedWithoutCorners) {
  button->setCaption(QString());
  QApplication::processEvents();
  const QImage screen = Screen();
  ASSERT_EQ(screen.size(), QSize(75, 23));
  const QRgb background = button->palette().color(QPalette::Button).rgb();
  EXPECT_EQ(screen.pixel(37, 1), background);
  EXPECT_EQ(screen.pixel(37, 3), qRgb(0xFF, 0xFF, 0xFD));
  EXPECT_EQ(screen.pixel(37, 18), qRgb(240, 240, 238));
  EXPECT_EQ(screen.pixel(37, 21), qRgb(0xD6, 0xD0, 0xC5));
  EXPECT_EQ(screen.pixel(37, 0), qRgb(0x00, 0x3C, 0x74));
  EXPECT_EQ(screen.pixel(74, 11), qRgb(0x00, 0x3C, 0x74));
  EXPECT_EQ(screen.pixel(1, 1), qRgb(0x25, 0x57, 0x83));

  const QRegion shape = button->mask();
  EXPECT_FALSE(shape.contains(QPoint(0, 0)));
  EXPECT_FALSE(shape.contains(QPoint(74, 22)));
  EXPECT_TRUE(shape.contains(QPoint(1, 0)));
  EXPECT_TRUE(shape.contains(QPoint(74, 21)));
}

TEST_F(WidgetTest, CaptionIsDrawnCentredInTheForeColour) {
  button->control().Put("ForeColor", orv::Variant(int32_t(Rgb(255, 0, 0))));
  button->setCaption(QStringLiteral("&Wide"));
  QApplication::processEvents();
  const QImage screen = Screen();
  // Red ink appears in the middle rows only, and on both sides of the centre line.
  int top = 23, bottom = -1, leftmost = 75, rightmost = -1;
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 75; ++x) {
      const QRgb p = screen.pixel(x, y);
      if (qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        leftmost = std::min(leftmost, x);
        rightmost = std::max(rightmost, x);
      }
    }
  ASSERT_GE(bottom, 0) << "no caption drawn";
  EXPECT_GT(top, 2);
  EXPECT_LT(bottom, 21);
  EXPECT_LT(leftmost, 37);
  EXPECT_GT(rightmost, 37);
  EXPECT_LE(std::abs((leftmost + rightmost) - 74), 4);
}

TEST_F(WidgetTest, LeftClickPressesAndEmitsTheEvents) {
  QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
  EXPECT_EQ(button->picture().Pixel(37, 1), Rgb(0xD1, 0xCC, 0xC0));
  EXPECT_EQ(Screen().pixel(37, 1), RgbOf(Rgb(0xD1, 0xCC, 0xC0)));
  QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
  EXPECT_NE(button->picture().Pixel(37, 1), Rgb(0xD1, 0xCC, 0xC0));
  std::erase_if(signals_seen, [](const std::string& s) { return s.rfind("mouseMove", 0) == 0; });
  EXPECT_EQ(signals_seen,
            (std::vector<std::string>{"mouseDown(1,0,10,12)", "mouseUp(1,0,10,12)", "clicked"}));
  EXPECT_TRUE(button->hasFocus());
}

TEST_F(WidgetTest, RightClickEmitsNoClick) {
  QTest::mouseClick(button, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 12));
  std::erase_if(signals_seen, [](const std::string& s) { return s.rfind("mouseMove", 0) == 0; });
  EXPECT_EQ(signals_seen, (std::vector<std::string>{"mouseDown(2,1,10,12)", "mouseUp(2,1,10,12)"}));
}

TEST_F(WidgetTest, KeyboardClickAndAccessKey) {
  button->setFocus();
  QApplication::processEvents();
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(signals_seen,
            (std::vector<std::string>{"keyDown(32,0)", "keyPress(32)", "clicked", "keyUp(32,0)"}));
  signals_seen.clear();

  button->setCaption(QStringLiteral("&Go"));
  QTest::keyClick(&form, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(std::count(signals_seen.begin(), signals_seen.end(), "clicked"), 1);
}

TEST_F(WidgetTest, ArrowKeysMoveTheFocusLikeTab) {
  button->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(button->hasFocus());
  QTest::keyClick(button, Qt::Key_Right);
  EXPECT_TRUE(QTest::qWaitFor([&] { return right->hasFocus(); }, 2000));
  QTest::keyClick(right, Qt::Key_Up);
  EXPECT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, 2000));
  QTest::keyClick(button, Qt::Key_Down);
  EXPECT_TRUE(QTest::qWaitFor([&] { return left->hasFocus(); }, 2000));
  EXPECT_EQ(signals_seen.front(), "keyDown(39,0)");
}

TEST_F(WidgetTest, HoverEntersAndLeavesWithTheTimer) {
  const QPoint inside(30, 10);
  QCursor::setPos(button->mapToGlobal(inside));
  QTest::mouseMove(button, inside);
  QTest::mouseMove(button, inside + QPoint(1, 0));
  QTest::mouseMove(button, inside + QPoint(2, 0));
  ASSERT_FALSE(signals_seen.empty());
  EXPECT_EQ(signals_seen.front(), "mouseOver");
  EXPECT_EQ(std::count(signals_seen.begin(), signals_seen.end(), "mouseOver"), 1);
  EXPECT_EQ(Screen().pixel(37, 1), RgbOf(Rgb(0xFF, 0xF0, 0xCF)));

  QCursor::setPos(0, 0);
  EXPECT_TRUE(WaitFor("mouseOut"));
  EXPECT_EQ(Screen().pixel(37, 1), button->palette().color(QPalette::Button).rgb());
}

TEST_F(WidgetTest, DisabledButtonShowsItsLookAndIgnoresInput) {
  button->setButtonEnabled(false);
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(Screen().pixel(37, 1), RgbOf(Rgb(0xF5, 0xF4, 0xEA)));
  EXPECT_EQ(Screen().pixel(37, 0), RgbOf(Rgb(0xC9, 0xC7, 0xBA)));
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
  EXPECT_TRUE(signals_seen.empty());
}

TEST(DesignerTest, NameAndToolboxPicture) {
  EXPECT_EQ(VelnorButtonWidget::designerName(), QStringLiteral("btnVelnor"));
  const QIcon icon = VelnorButtonWidget::toolboxIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 15));
}

}  // namespace
}  // namespace velnor

int main(int argc, char** argv) {
  // Tests are listed and run without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
