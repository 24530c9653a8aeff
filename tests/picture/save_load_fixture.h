// A main window with the controls Save and Load work with, built as start-up builds them, on the real
// windowing layer and band level editor.
#pragma once

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "picture/surface.h"
#include "support/ui_driver.h"
#include "test_files.h"
#include "ui/ui.h"

class SaveLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobals();
    ASSERT_TRUE(UiInitialise());
    ASSERT_TRUE(UiOpenWindow(MainWindow, "Vellora", 720, 400));
    SetCanvasHooks({&UiCanvasPicture, &UiRepaintCanvas});
    BandLevelEditorNumber = CreateBandLevelEditor(530, 310, 160, 70, 8, White, Black);
    ASSERT_GT(BandLevelEditorNumber, 0);
    SetBandLevelEditorProperty(BandLevelEditorNumber, 1, 3);
    SetBandLevelEditorProperty(BandLevelEditorNumber, 2, 10);
    SetBandLevelEditorProperty(BandLevelEditorNumber, 3, 380);
    SetBandLevelEditorProperty(BandLevelEditorNumber, 4, 10000);
    ASSERT_EQ(UiCreateControl(MainWindow, PaintCanvas, ControlKind::Canvas, 10, 10, 380, 380), PaintCanvas);
    ASSERT_EQ(UiCreateControl(MainWindow, DistributionPreview, ControlKind::Canvas, 530, 115, 160, 70),
              DistributionPreview);
    ASSERT_EQ(UiCreateControl(MainWindow, RepeatCheckbox, ControlKind::Checkbox, 410, 265, 60, 20, {"Repeat"}),
              RepeatCheckbox);
    ASSERT_EQ(UiCreateControl(MainWindow, DistributionCheckbox, ControlKind::Checkbox, 530, 90, 170, 20,
                              {"Enable Frequency Distribution"}),
              DistributionCheckbox);
    Slider(FrqFromSlider, 640, 210, 20, 80, 70, 1500, 90, ControlKind::VerticalSlider);
    Slider(FrqToSlider, 680, 210, 20, 80, 70, 9000, 9000, ControlKind::VerticalSlider);
    Slider(SampleRateSlider, 510, 70, 180, 20, 2000, 22050, 3000, ControlKind::HorizontalSlider);
    Slider(SoundDurationSlider, 510, 30, 180, 20, 1000, 15000, 5000, ControlKind::HorizontalSlider);
    Slider(DistASlider, 530, 210, 20, 80, 1, 99, 50, ControlKind::VerticalSlider);
    Slider(DistBSlider, 550, 210, 20, 80, 1, 99, 5, ControlKind::VerticalSlider);
    Slider(DistCSlider, 570, 210, 20, 80, 1, 99, 75, ControlKind::VerticalSlider);
    Slider(DistDSlider, 590, 210, 20, 80, 1, 99, 75, ControlKind::VerticalSlider);
    FillCanvas(PaintCanvas, Black);
    FillCanvas(DistributionPreview, Black);
  }

  void TearDown() override {
    DropAllImages();
    SetCanvasHooks({});
    UiShutdown();
  }

  static void Slider(int number, int x, int y, int w, int h, int low, int high, int start, ControlKind kind) {
    ControlOptions options;
    options.minimum = low;
    options.maximum = high;
    ASSERT_EQ(UiCreateControl(MainWindow, number, kind, x, y, w, h, options), number);
    UiSetState(number, start);
  }

  static void FillCanvas(int control, Colour colour) {
    ASSERT_TRUE(BeginDrawing(CanvasTarget(control)));
    FillRect(0, 0, OutputWidth(), OutputHeight(), colour);
    EndDrawing();
  }

  static const Raster& Canvas() { return *UiCanvasPicture(PaintCanvas); }

  static std::vector<StoredBandPoint> BandPoints() {
    std::vector<StoredBandPoint> points;
    ExportBandPoints(BandLevelEditorNumber, points);
    return points;
  }

  ScratchFolder folder;
};
