// The started program, for tests of Save and Load through its real window, file dialog and band editor.
#pragma once

#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "picture/surface.h"
#include "support/app_fixture.h"
#include "support/ui_driver.h"
#include "test_files.h"
#include "ui/ui.h"

class SaveLoadTest : public AppTest {
 protected:
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
