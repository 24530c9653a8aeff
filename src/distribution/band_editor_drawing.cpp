// Drawing the band level editor: background, a marker on every point and the lines between them.
#include "distribution/band_level_editor.h"

#include <cstddef>

#include "picture/surface.h"

void DrawBandLevelEditor(BandEditorHandle handle) {
  const BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor || !BeginDrawing(CanvasTarget(editor->control))) return;
  FillRect(0, 0, editor->width, editor->height, editor->background);
  const auto& points = editor->points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    // The last point joins itself, so every point gets a line call and the last one a single pixel.
    const BandPoint& next = i + 1 < points.size() ? points[i + 1] : points[i];
    FillCircle(points[i].x, points[i].y, editor->markerRadius, editor->foreground);
    DrawLine(points[i].x, points[i].y, next.x, next.y, editor->foreground);
  }
  EndDrawing();
}
