// The band level editor as a control of the main window: creation and the handling of its events.
#include "app/control_ids.h"
#include "distribution/band_editor_pointer.h"
#include "distribution/band_editor_record.h"
#include "distribution/band_level_editor.h"
#include "picture/surface.h"
#include "ui/ui.h"

namespace {

// The size of the control's drawing surface, or the requested size if the surface cannot be opened.
void ReadSurfaceSize(int control, int& width, int& height) {
  if (!BeginDrawing(CanvasTarget(control))) return;
  width = OutputWidth();
  height = OutputHeight();
  EndDrawing();
}

}  // namespace

BandEditorHandle CreateBandLevelEditor(int x, int y, int width, int height, int pointCount, Colour foreground,
                                       Colour background) {
  ControlOptions options;
  options.confinePointer = true;
  const int control = UiCreateControl(MainWindow, -1, ControlKind::Canvas, x, y, width, height, options);
  if (control <= 0) return 0;
  int surfaceWidth = width, surfaceHeight = height;
  ReadSurfaceSize(control, surfaceWidth, surfaceHeight);
  const BandEditorHandle handle = AttachBandLevelEditor(
      control, NewBandLevelEditorRecord(surfaceWidth, surfaceHeight, pointCount, foreground, background));
  DrawBandLevelEditor(handle);
  return handle;
}

int HandleBandLevelEditorEvent(BandEditorHandle handle) {
  BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return 0;
  const UiEvent& event = UiCurrentEvent();
  BandPointerEffects effects;
  const int result = HandleBandPointer(*editor, event.type, event.x, event.y, &effects);
  if (effects.setCursor) UiSetCursor(editor->control, effects.cursor);
  if (effects.redraw) DrawBandLevelEditor(handle);
  return result;
}
