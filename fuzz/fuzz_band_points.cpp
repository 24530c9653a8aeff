// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: band points of any value imported into an editor record of any size, then evaluated as the
// synthesis does, dragged with the pointer and drawn onto a picture that need not match the editor.
#include <climits>
#include <cmath>
#include <cstdlib>

#include "band_input.h"
#include "distribution/band_editor.h"

namespace {

constexpr int SynthesisRows = 380;
constexpr int MaxEvaluatedValues = 2048;
// Stored y values this far from zero may saturate on the way in and out.
constexpr long long SaturationMargin = 1LL << 30;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckLevels(const BandLevelEditor& editor) {
  for (int row = 0; row < SynthesisRows; ++row) Check(std::isfinite(BandLevelOf(editor, true, row)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const band_input::BandInput input = band_input::Decode(data, size);
  BandLevelEditor editor = NewBandLevelEditorRecord(input.width, input.height, input.pointCount, White, Black);
  ApplyBandEditorProperty(editor, MarkerRadiusProperty, input.markerRadius);
  ApplyBandEditorProperty(editor, HitRadiusProperty, input.hitRadius);
  ApplyBandEditorProperty(editor, ValueRangeXProperty, input.rangeX);
  ApplyBandEditorProperty(editor, ValueRangeYProperty, input.rangeY);
  Check(ImportBandPointsInto(editor, input.points));

  // What was imported comes back out unchanged (the ends keep their x), wherever no value saturated.
  const std::vector<StoredBandPoint> exported = ExportBandPointsOf(editor);
  Check(exported.size() == input.points.size());
  for (std::size_t i = 0; i < exported.size(); ++i) {
    if (std::abs(static_cast<long long>(input.points[i].y)) >= SaturationMargin) continue;
    Check(exported[i].y == input.points[i].y);
    if (i > 0 && i + 1 < exported.size()) Check(exported[i].x == input.points[i].x);
  }

  // Evaluation over the value range (bounded) and at the extremes.
  for (int x = -1; x <= MaxEvaluatedValues; ++x) EvaluateBandCurveOn(editor, x);
  for (int x : {INT_MIN, INT_MIN + 1, -2, INT_MAX - 1, INT_MAX, static_cast<int>(input.rangeX)})
    EvaluateBandCurveOn(editor, x);
  CheckLevels(editor);

  // A drag through the given positions; the drawing below shows where it left the points.
  if (!input.moves.empty()) {
    HandleBandPointer(editor, PointerAction::Press, input.moves.front().x, input.moves.front().y);
    for (const auto& move : input.moves) {
      BandPointerEffects effects;
      HandleBandPointer(editor, PointerAction::Move, move.x, move.y, &effects);
    }
    HandleBandPointer(editor, PointerAction::Release, input.moves.back().x, input.moves.back().y);
    CheckLevels(editor);
  }
  Raster canvas(input.canvasWidth, input.canvasHeight, White);
  DrawBandEditorOn(canvas, editor);
  return 0;
}
