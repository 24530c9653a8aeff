// SPDX-License-Identifier: GPL-3.0-or-later
// The band level editor as a control of the main window (its record attached to a drawing control by the
// control's number) and the preview of the shaped frequency distribution.
#include <map>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "distribution/frequency_mapping.h"
#include "distribution/numeric_conversion.h"
#include "picture/surface.h"

namespace {

std::map<int, BandLevelEditor>& Editors() {
  static std::map<int, BandLevelEditor> editors;
  return editors;
}

// The size of the control's drawing surface, or the requested size if the surface cannot be opened.
void ReadSurfaceSize(int control, int& width, int& height) {
  if (!BeginDrawing(CanvasTarget(control))) return;
  width = OutputWidth();
  height = OutputHeight();
  EndDrawing();
}

PointerAction ActionOf(ControlEventType type) {
  switch (type) {
    case ControlEventType::LeftButtonDown: return PointerAction::Press;
    case ControlEventType::MouseMove: return PointerAction::Move;
    case ControlEventType::LeftButtonUp: return PointerAction::Release;
    default: return PointerAction::Other;
  }
}

void FillPreview(Colour colour) {
  if (!BeginDrawing(CanvasTarget(DistributionPreview))) return;
  FillRect(0, 0, PreviewWidth, PreviewHeight, colour);
  EndDrawing();
}

}  // namespace

BandEditorHandle CreateBandLevelEditor(int x, int y, int width, int height, int pointCount, Colour foreground,
                                       Colour background) {
  // Not confining: while a point is held the editor keeps receiving the pointer, also off it, and clamps it itself.
  const int control = UiCreateControl(MainWindow, -1, ControlKind::Canvas, x, y, width, height);
  if (control <= 0) return 0;
  int surfaceWidth = width, surfaceHeight = height;
  ReadSurfaceSize(control, surfaceWidth, surfaceHeight);
  Editors()[control] = NewBandLevelEditorRecord(surfaceWidth, surfaceHeight, pointCount, foreground, background);
  DrawBandLevelEditor(control);
  return control;
}

BandLevelEditor* FindBandLevelEditor(BandEditorHandle handle) {
  auto found = Editors().find(handle);
  return found == Editors().end() ? nullptr : &found->second;
}

void SetBandLevelEditorProperty(BandEditorHandle handle, int key, std::int32_t value) {
  BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return;
  ApplyBandEditorProperty(*editor, key, value);
  DrawBandLevelEditor(handle);
}

void DrawBandLevelEditor(BandEditorHandle handle) {
  const BandLevelEditor* editor = FindBandLevelEditor(handle);
  Raster* surface = CanvasPicture(handle);
  if (!editor || !surface || !BeginDrawing(CanvasTarget(handle))) return;
  DrawBandEditorOn(*surface, *editor);
  EndDrawing();
}

int HandleBandLevelEditorEvent(BandEditorHandle handle) {
  BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return 0;
  const UiEvent& event = UiCurrentEvent();
  BandPointerEffects effects;
  const int result = HandleBandPointer(*editor, ActionOf(event.type), event.x, event.y, &effects);
  if (effects.setCursor) UiSetCursor(handle, effects.overPoint ? CursorShape::PointingHand : CursorShape::Arrow);
  if (effects.redraw) DrawBandLevelEditor(handle);
  return result;
}

int EvaluateBandCurve(BandEditorHandle handle, int x) {
  const BandLevelEditor* editor = FindBandLevelEditor(handle);
  return editor ? EvaluateBandCurveOn(*editor, x) : 0;
}

int ExportBandPoints(BandEditorHandle handle, std::vector<StoredBandPoint>& points) {
  const BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return 0;
  points = ExportBandPointsOf(*editor);
  return 1;
}

void ImportBandPoints(BandEditorHandle handle, const std::vector<StoredBandPoint>& points) {
  BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return;
  ImportBandPointsInto(*editor, points);
  DrawBandLevelEditor(handle);
}

float BandLevel(int row) {
  const BandLevelEditor* editor = FindBandLevelEditor(BandLevelEditorNumber);
  const bool edited = SynthSettings.BandCurveEdited == 1;
  static const BandLevelEditor none;  // no points: its curve is 0 everywhere
  return BandLevelOf(editor ? *editor : none, edited, row);
}

void DrawDistributionPreview() {
  if (SynthSettings.FrqDistribution == 0) return;
  const auto samples =
      PreviewSamples(SynthSettings.DistA, SynthSettings.DistB, SynthSettings.DistC, SynthSettings.DistD);
  if (!BeginDrawing(CanvasTarget(DistributionPreview))) return;
  FillRect(0, 0, PreviewWidth, PreviewHeight, Black);
  for (int i = 0; i + 1 < PreviewWidth; ++i) {
    DrawLine(i, RoundHalfEvenToInt32(samples[i]), i + 1, RoundHalfEvenToInt32(samples[i + 1]), White);
  }
  EndDrawing();
}

void RefreshDistributionPreview() {
  if (SynthSettings.FrqDistribution != 0) DrawDistributionPreview();
  else FillPreview(Black);
}
