// Start-up in its fixed order: shared state, images, main window, menu, controls, blank surfaces.
#include "app/startup.h"

#include <string>

#include "app/control_ids.h"
#include "app/band_editor_setup.h"
#include "app/control_table.h"
#include "app/event_loop.h"
#include "app/settings.h"
#include "picture/surface.h"
#include "sound/sound_state.h"
#include "ui/ui.h"

namespace {

constexpr int MainClientWidth = 720;
constexpr int MainClientHeight = 425;

void CreateMenuBar() {
  if (!UiCreateMenuBar(MainWindow)) return;
  UiAddMenu(MainWindow, "File");
  UiAddMenuItem(MainWindow, ExportSoundItem, "Export Sound...");
  UiAddMenuItem(MainWindow, ExitItem, "Exit");
  UiAddMenu(MainWindow, "?");
  UiAddMenuItem(MainWindow, AboutItem, "About");
  UiAddMenuItem(MainWindow, HelpItem, "Help");
}

void FillSurface(DrawTarget target, int width, int height, Colour colour) {
  if (!BeginDrawing(target)) return;
  FillRect(0, 0, width, height, colour);
  EndDrawing();
}

void CreateControls() {
  const BandEditorHandle editor = CreateApplicationBandEditor();
  BandLevelEditorNumber = editor ? editor : -1;
  for (const ControlEntry& entry : MainControls()) {
    ControlOptions options;
    options.label = std::string(entry.label);
    options.minimum = entry.minimum;
    options.maximum = entry.maximum;
    options.confinePointer = entry.confinePointer;
    if (UiCreateControl(MainWindow, entry.number, entry.kind, entry.x, entry.y, entry.width, entry.height,
                        options) < 0)
      continue;
    if (entry.startState >= 0) UiSetState(entry.number, entry.startState);
    if (entry.number == ColorButton) {
      if (ImageRef swatch = ImageHandle(SwatchImage)) UiSetButtonImage(ColorButton, *swatch);
    } else if (entry.number == DistributionPreview) {
      FillSurface(CanvasTarget(DistributionPreview), PreviewWidth, PreviewHeight, Black);
    } else if (entry.number == ClearButton) {
      UiSetState(BrushToggle, 1);
      UiSetCursor(PaintCanvas, CursorShape::CrossHair);
    }
  }
}

}  // namespace

bool StartUp() {
  if (!UiInitialise()) return false;
  SetCanvasHooks({UiCanvasPicture, UiRepaintCanvas});
  ResetGlobals();
  ResetSoundState();
  NewImage(SwatchImage, SwatchSize, SwatchSize);
  NewImage(CanvasImage, CanvasSize, CanvasSize);
  if (!UiOpenWindow(MainWindow, "Vellora", MainClientWidth, MainClientHeight)) return false;
  CreateMenuBar();
  CreateControls();
  FillSurface(CanvasTarget(PaintCanvas), CanvasSize, CanvasSize, Black);
  FillSurface(ImageTarget(SwatchImage), SwatchSize, SwatchSize, BrushColor);
  if (ImageRef swatch = ImageHandle(SwatchImage)) UiSetButtonImage(ColorButton, *swatch);
  QuitFlag = 0;
  return true;
}

void ShutDown() {
  UiShutdown();
  DropAllImages();
}

int RunVellora() {
  if (StartUp()) RunEventLoop();
  ShutDown();
  return 0;
}
