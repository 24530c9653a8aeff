// Brush dabs and the rubber-band line on the canvas, drawn over the snapshot taken at each press.
#include "picture/canvas_tools.h"

#include "app/control_ids.h"
#include "app/repeat.h"
#include "app/settings.h"
#include "picture/surface.h"

namespace {

void TakeSnapshot() {
  if (!BeginDrawing(ImageTarget(CanvasImage))) return;
  BlitImage(CanvasPicture(PaintCanvas), 0, 0);
  EndDrawing();
}

}  // namespace

void HandleCanvasEvent(ControlEventType type, int x, int y, int buttons) {
  if (type == ControlEventType::LeftButtonDown) {
    ResetRepeat();
    TakeSnapshot();
    LineStartX = x;
    LineStartY = y;
    PaintAt(x, y, type);
  } else if (type == ControlEventType::MouseMove && (buttons & LeftButtonBit)) {
    PaintAt(x, y, type);
  }
}

void PaintAt(int x, int y, ControlEventType type) {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  if (Tool == BrushToggle) {
    if (type == ControlEventType::LeftButtonDown || type == ControlEventType::MouseMove)
      FillCircle(x, y, UiGetState(BrushSizeSpin), BrushColor);
  } else if (Tool == LineToggle) {
    BlitImage(ImageHandle(CanvasImage), 0, 0);
    DrawLine(LineStartX, LineStartY, x, y, BrushColor);
  }
  EndDrawing();
}

void HandleToolToggle(int control) {
  Tool = control;
  for (int toggle : {BrushToggle, LineToggle}) UiSetState(toggle, toggle == Tool ? 1 : 0);
}

void HandleColorButton() {
  const std::int64_t chosen = UiChooseColour(BrushColor);
  if (chosen < 0) return;
  BrushColor = static_cast<Colour>(chosen) & ColourMask;
  if (!BeginDrawing(ImageTarget(SwatchImage))) return;
  FillRect(0, 0, SwatchSize, SwatchSize, BrushColor);
  EndDrawing();
  if (ImageRef swatch = ImageHandle(SwatchImage)) UiSetButtonImage(ColorButton, *swatch);
}

void HandleClearButton() {
  ResetRepeat();
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  FillRect(0, 0, CanvasSize, CanvasSize, Black);
  EndDrawing();
}
