// Evaluating the band level curve and converting its points to and from stored units.
// Points may come from a settings file with any 32-bit values: nothing here overflows for them.
#include "distribution/band_curve.h"

#include <cstddef>
#include <cstdint>

#include "distribution/numeric_conversion.h"

namespace {

double ValueXDouble(const BandLevelEditor& editor, std::int32_t x) {
  if (editor.width <= 0) return 0.0;
  return static_cast<double>(editor.valueRangeX) * x / editor.width;
}

double ValueYDouble(const BandLevelEditor& editor, std::int32_t y) {
  if (editor.height <= 0) return 0.0;
  const double range = editor.valueRangeY;
  return range - range * y / editor.height;
}

}  // namespace

float BandValueX(const BandLevelEditor& editor, std::int32_t x) { return SaturateToFloat(ValueXDouble(editor, x)); }

float BandValueY(const BandLevelEditor& editor, std::int32_t y) { return SaturateToFloat(ValueYDouble(editor, y)); }

int EvaluateBandCurveOn(const BandLevelEditor& editor, int x) {
  const std::size_t n = editor.points.size();
  if (n < 2) return 0;
  const int range = RoundHalfEvenToInt32(editor.valueRangeX);
  if (x < 0 || x > range) return 0;
  if (x == 0) return RoundHalfEvenToInt32(ValueYDouble(editor, editor.points.front().y));
  if (x == range) return RoundHalfEvenToInt32(ValueYDouble(editor, editor.points.back().y));

  // Q is the first point right of x; without one the last segment is extended.
  std::size_t q = n - 1;
  for (std::size_t i = 0; i < n; ++i) {
    if (BandValueX(editor, editor.points[i].x) > x) {
      q = i;
      break;
    }
  }
  if (q == 0) q = 1;  // only reachable with a first point right of 0; use the first segment then
  const double xP = BandValueX(editor, editor.points[q - 1].x), yP = BandValueY(editor, editor.points[q - 1].y);
  const double xQ = BandValueX(editor, editor.points[q].x), yQ = BandValueY(editor, editor.points[q].y);
  // Two points on one column (only through import) give no slope: rows there take Q's value.
  if (xQ == xP) return RoundHalfAwayToInt32(yQ);
  const float value = SaturateToFloat(yP + (yQ - yP) / (xQ - xP) * (x - xP));
  return RoundHalfAwayToInt32(value);
}

std::vector<StoredBandPoint> ExportBandPointsOf(const BandLevelEditor& editor) {
  std::vector<StoredBandPoint> stored;
  stored.reserve(editor.points.size());
  for (const BandPoint& point : editor.points) {
    stored.push_back({point.x, SaturateToInt32(static_cast<std::int64_t>(editor.height) - point.y)});
  }
  return stored;
}

bool ImportBandPointsInto(BandLevelEditor& editor, const std::vector<StoredBandPoint>& stored) {
  const std::size_t n = editor.points.size();
  if (stored.size() != n || n != static_cast<std::size_t>(editor.pointCount)) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (0 < i && i + 1 < n) editor.points[i].x = stored[i].x;
    editor.points[i].y = SaturateToInt32(static_cast<std::int64_t>(editor.height) - stored[i].y);
  }
  return true;
}
