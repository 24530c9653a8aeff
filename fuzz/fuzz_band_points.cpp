// Fuzz target: band points of any value imported into an editor of any size, then evaluated as the
// synthesis does, dragged with the pointer and drawn onto a picture that need not match the editor.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>

#include "app/settings.h"
#include "band_input.h"
#include "distribution/band_curve.h"
#include "distribution/band_editor_pointer.h"
#include "distribution/band_editor_record.h"
#include "distribution/band_level_editor.h"
#include "picture/surface.h"

namespace {

constexpr int EditorControl = 7;
constexpr int SynthesisRows = 380;
constexpr int MaxEvaluatedValues = 2048;
// Stored y values this far from zero may saturate on the way in and out.
constexpr long long SaturationMargin = 1LL << 30;

Raster canvas;
int shows = 0;

Raster* CanvasOf(int control) { return control == EditorControl ? &canvas : nullptr; }
void ShowCanvas(int) { ++shows; }

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const band_input::BandInput input = band_input::Decode(data, size);
  canvas = Raster(input.canvasWidth, input.canvasHeight, White);
  SetCanvasHooks({CanvasOf, ShowCanvas});

  // The properties go onto the record before it is attached, so only the import and the end redraw.
  BandLevelEditor record = NewBandLevelEditorRecord(input.width, input.height, input.pointCount, White, Black);
  ApplyBandEditorProperty(record, MarkerRadiusProperty, input.markerRadius);
  ApplyBandEditorProperty(record, HitRadiusProperty, input.hitRadius);
  ApplyBandEditorProperty(record, ValueRangeXProperty, input.rangeX);
  ApplyBandEditorProperty(record, ValueRangeYProperty, input.rangeY);
  const BandEditorHandle handle = AttachBandLevelEditor(EditorControl, record);
  ImportBandPoints(handle, input.points);

  // What was imported comes back out unchanged (the ends keep their x), wherever no value saturated.
  std::vector<StoredBandPoint> exported;
  Check(ExportBandPoints(handle, exported) == 1);
  Check(exported.size() == input.points.size());
  for (std::size_t i = 0; i < exported.size(); ++i) {
    if (std::abs(static_cast<long long>(input.points[i].y)) >= SaturationMargin) continue;
    Check(exported[i].y == input.points[i].y);
    if (i > 0 && i + 1 < exported.size()) Check(exported[i].x == input.points[i].x);
  }

  // Evaluation over the value range (bounded) and at the extremes.
  for (int x = -1; x <= MaxEvaluatedValues; ++x) EvaluateBandCurve(handle, x);
  for (int x : {INT_MIN, INT_MIN + 1, -2, INT_MAX - 1, INT_MAX, static_cast<int>(input.rangeX)})
    EvaluateBandCurve(handle, x);
  BandLevelEditorNumber = handle;
  SynthSettings.BandCurveEdited = 1;
  for (int row = 0; row < SynthesisRows; ++row) Check(std::isfinite(BandLevel(row)));

  // A drag through the given positions; the drawing below shows where it left the points.
  if (BandLevelEditor* editor = FindBandLevelEditor(handle); editor && !input.moves.empty()) {
    const auto& first = input.moves.front();
    HandleBandPointer(*editor, ControlEventType::LeftButtonDown, first.x, first.y);
    for (const auto& move : input.moves) HandleBandPointer(*editor, ControlEventType::MouseMove, move.x, move.y);
    HandleBandPointer(*editor, ControlEventType::LeftButtonUp, input.moves.back().x, input.moves.back().y);
    for (int row = 0; row < SynthesisRows; ++row) Check(std::isfinite(BandLevel(row)));
  }
  DrawBandLevelEditor(handle);
  return 0;
}
