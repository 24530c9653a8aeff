// Canvases: their own white picture shown 1:1, mouse reports, and the pointer kept inside while held.
#include <QCursor>
#include <QTest>

#include <thread>

#include "picture/surface.h"
#include "ui_fixture.h"

namespace {

using CanvasTest = UiTest;

constexpr int Side = 100;

int MakeCanvas(bool confine, int number = 0) {
  ControlOptions options;
  options.confinePointer = confine;
  return UiCreateControl(0, number, ControlKind::Canvas, 20, 30, Side, Side - 20, options);
}

std::vector<UiEvent> WithoutMoves(const std::vector<UiEvent>& events) {
  std::vector<UiEvent> kept;
  for (const UiEvent& event : events)
    if (event.type != ControlEventType::MouseMove) kept.push_back(event);
  return kept;
}

TEST_F(CanvasTest, PictureIsWhiteAndOfTheControlsSize) {
  OpenMain();
  MakeCanvas(false);
  Raster* picture = UiCanvasPicture(0);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, Side);
  EXPECT_EQ(picture->height, Side - 20);
  EXPECT_EQ(*picture, Raster(Side, Side - 20, White));
  const QImage shown = GrabControl(0);
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::white));
  EXPECT_EQ(shown.pixelColor(Side - 1, Side - 21), QColor(Qt::white));
}

TEST_F(CanvasTest, OnlyCanvasesHavePictures) {
  OpenMain();
  UiCreateControl(0, 6, ControlKind::Button, 0, 0, 50, 20);
  EXPECT_EQ(UiCanvasPicture(6), nullptr);
  EXPECT_EQ(UiCanvasPicture(99), nullptr);
  UiRepaintCanvas(6);  // ignored
  UiRepaintCanvas(99);
}

TEST_F(CanvasTest, RepaintShowsThePicturePixelForPixel) {
  OpenMain();
  MakeCanvas(false);
  Raster& picture = *UiCanvasPicture(0);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.At(x, y) = MakeColour(static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 3), 0x40);
  UiRepaintCanvas(0);
  const QImage shown = GrabControl(0);
  ASSERT_EQ(shown.size(), QSize(picture.width, picture.height));
  for (int y = 0; y < picture.height; y += 7) {
    for (int x = 0; x < picture.width; x += 5) {
      const QColor pixel = shown.pixelColor(x, y);
      EXPECT_EQ(pixel, QColor(x * 2, y * 3, 0x40)) << x << "," << y;
    }
  }
}

TEST_F(CanvasTest, RepaintAskedForOnAnotherThreadIsShownWhenThePainterRuns) {
  OpenMain();
  MakeCanvas(false);
  std::thread drawer([] {
    Raster& picture = *UiCanvasPicture(0);
    for (Colour& pixel : picture.pixels) pixel = MakeColour(0, 0, 0xFF);
    UiRepaintCanvas(0);
    picture.At(3, 3) = MakeColour(0xFF, 0, 0);
    UiRepaintCanvas(0);
  });
  drawer.join();
  UiProcessPaintOnly();
  const QImage shown = GrabControl(0);
  EXPECT_EQ(shown.pixelColor(10, 10), QColor(0, 0, 0xFF));
  EXPECT_EQ(shown.pixelColor(3, 3), QColor(0xFF, 0, 0));
}

TEST_F(CanvasTest, PressMoveReleaseReportPositionsAndButtons) {
  OpenMain();
  MakeCanvas(true);
  PumpEvents();
  DragOnControl(0, {{10, 12}, {15, 20}, {30, 40}});
  MoveOnControl(0, {50, 50});
  const std::vector<UiEvent> events = PumpControlEvents(0);
  ASSERT_GE(events.size(), 5u);
  struct Report {
    ControlEventType type;
    int x, y, buttons;
    bool operator==(const Report&) const = default;
  };
  std::vector<Report> tail;
  for (auto event = events.end() - 5; event != events.end(); ++event)
    tail.push_back({event->type, event->x, event->y, event->buttons});
  const std::vector<Report> expected = {{ControlEventType::LeftButtonDown, 10, 12, LeftButtonBit},
                                        {ControlEventType::MouseMove, 15, 20, LeftButtonBit},
                                        {ControlEventType::MouseMove, 30, 40, LeftButtonBit},
                                        {ControlEventType::LeftButtonUp, 30, 40, 0},
                                        {ControlEventType::MouseMove, 50, 50, 0}};  // no button held: still reported
  EXPECT_TRUE(tail == expected);
  for (const UiEvent& event : events) {
    EXPECT_EQ(event.kind, EventKind::Control);
    EXPECT_EQ(event.window, 0);
  }
}

TEST_F(CanvasTest, DragOutsideAConfiningCanvasIsClampedAndThePointerBroughtBack) {
  OpenMain(300, 300);
  MakeCanvas(true);
  PumpEvents();
  const int right = Side - 1;
  const int bottom = Side - 21;
  PressOnControl(0, {50, 40});
  MoveOnControl(0, {150, 40});
  const QPoint pointer = QCursor::pos();
  MoveOnControl(0, {-30, -25});
  MoveOnControl(0, {60, 500});
  ReleaseOnControl(0, {200, 200});
  const std::vector<UiEvent> events = PumpControlEvents(0);
  std::vector<QPoint> positions;
  for (const UiEvent& event : events) {
    EXPECT_GE(event.x, 0);
    EXPECT_LE(event.x, right);
    EXPECT_GE(event.y, 0);
    EXPECT_LE(event.y, bottom);
    positions.push_back({event.x, event.y});
  }
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().type, ControlEventType::LeftButtonUp);
  EXPECT_EQ(positions.back(), QPoint(right, bottom));
  EXPECT_NE(std::find(positions.begin(), positions.end(), QPoint(right, 40)), positions.end());
  EXPECT_NE(std::find(positions.begin(), positions.end(), QPoint(0, 0)), positions.end());
  EXPECT_NE(std::find(positions.begin(), positions.end(), QPoint(60, bottom)), positions.end());
  // Between press and release every report carries the held left button.
  auto press = std::find_if(events.begin(), events.end(),
                            [](const UiEvent& event) { return event.type == ControlEventType::LeftButtonDown; });
  ASSERT_NE(press, events.end());
  for (auto event = press; event + 1 != events.end(); ++event) EXPECT_EQ(event->buttons, LeftButtonBit);
  EXPECT_EQ(pointer, UiWidget(0)->mapToGlobal(QPoint(right, 40)));
}

TEST_F(CanvasTest, WithoutConfinementPositionsOutsideAreReportedAsTheyAre) {
  OpenMain(300, 300);
  MakeCanvas(false);
  PumpEvents();
  DragOnControl(0, {{50, 40}, {150, 40}});
  const std::vector<UiEvent> events = WithoutMoves(PumpControlEvents(0));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].type, ControlEventType::LeftButtonUp);
  EXPECT_EQ(events[1].x, 150);
}

TEST_F(CanvasTest, OtherButtonsAreReportedAsOtherMouseWithTheirBits) {
  OpenMain();
  MakeCanvas(true);
  PumpEvents();
  DragOnControl(0, {{10, 10}, {20, 20}}, Qt::RightButton);
  PressOnControl(0, {5, 5}, Qt::MiddleButton);
  ReleaseOnControl(0, {5, 5}, Qt::MiddleButton);
  const std::vector<UiEvent> events = PumpControlEvents(0);
  std::vector<UiEvent> presses;
  for (const UiEvent& event : events) {
    EXPECT_NE(event.type, ControlEventType::LeftButtonDown);
    EXPECT_NE(event.type, ControlEventType::LeftButtonUp);
    if (event.type == ControlEventType::OtherMouse) presses.push_back(event);
    if (event.type == ControlEventType::MouseMove && QPoint(event.x, event.y) == QPoint(20, 20)) {
      EXPECT_EQ(event.buttons, RightButtonBit);
    }
  }
  ASSERT_EQ(presses.size(), 4u);
  EXPECT_EQ(presses[0].buttons, RightButtonBit);
  EXPECT_EQ(presses[1].buttons, 0);
  EXPECT_EQ(presses[2].buttons, MiddleButtonBit);
}

TEST_F(CanvasTest, DoubleClickCountsAsAFurtherPress) {
  OpenMain();
  MakeCanvas(true);
  PumpEvents();
  QWidget* top = UiWindowWidget(0);
  QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, UiWidget(0)->mapTo(top, QPoint(8, 9)));
  const std::vector<UiEvent> events = WithoutMoves(PumpControlEvents(0));
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].type, ControlEventType::LeftButtonDown);
  EXPECT_EQ(events[1].type, ControlEventType::LeftButtonUp);
  EXPECT_EQ(events[2].type, ControlEventType::LeftButtonDown);
  EXPECT_EQ(QPoint(events[2].x, events[2].y), QPoint(8, 9));
  EXPECT_EQ(events[3].type, ControlEventType::LeftButtonUp);
}

TEST_F(CanvasTest, DrawingBlocksOnACanvasReachItThroughTheHooks) {
  OpenMain();
  MakeCanvas(true);
  SetCanvasHooks({UiCanvasPicture, UiRepaintCanvas});
  ASSERT_TRUE(BeginDrawing(CanvasTarget(0)));
  FillRect(0, 0, 10, 10, MakeColour(0, 0xFF, 0));
  EndDrawing();
  const QImage shown = GrabControl(0);
  EXPECT_EQ(shown.pixelColor(5, 5), QColor(0, 0xFF, 0));
  EXPECT_EQ(shown.pixelColor(15, 5), QColor(Qt::white));
  EXPECT_FALSE(BeginDrawing(CanvasTarget(42)));
  SetCanvasHooks({});
}

TEST_F(CanvasTest, CursorShapesCanBeSet) {
  OpenMain();
  MakeCanvas(true);
  const std::pair<CursorShape, Qt::CursorShape> shapes[] = {{CursorShape::CrossHair, Qt::CrossCursor},
                                                             {CursorShape::PointingHand, Qt::PointingHandCursor},
                                                             {CursorShape::Arrow, Qt::ArrowCursor}};
  for (const auto& [shape, shown] : shapes) {
    UiSetCursor(0, shape);
    EXPECT_EQ(UiWidget(0)->cursor().shape(), shown);
  }
}

}  // namespace
