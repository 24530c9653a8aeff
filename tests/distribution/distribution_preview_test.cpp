// The preview's samples and the picture it draws, on a fake canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/distribution_preview.h"
#include "support/line_model.h"
#include "picture/surface.h"
#include "support/stand_in_canvas.h"

namespace {

constexpr Colour Marker = 0x123456;

TEST(PreviewSamples, WorkedValues) {
  const auto samples = PreviewSamples(0.5f, 0.05f, 0.75f, 0.75f);
  const std::vector<std::pair<int, double>> cases = {{0, 70.00}, {40, 64.02}, {80, 48.56}, {120, 24.15}, {159, 0.44}};
  for (const auto& [i, expected] : cases) EXPECT_NEAR(samples[i], expected, 0.005 + 1e-9) << "sample " << i;
}

TEST(PreviewSamples, FallFromTheBottomTowardsTheTop) {
  const auto samples = PreviewSamples(0.5f, 0.05f, 0.75f, 0.75f);
  for (std::size_t i = 1; i < samples.size(); ++i) EXPECT_LT(samples[i], samples[i - 1]) << i;
}

class DrawnPreview : public ::testing::Test {
 protected:
  void SetUp() override { ResetGlobals(); }
  StandInCanvas canvas{DistributionPreview, PreviewWidth, PreviewHeight, Marker};
  Raster* picture = &canvas.picture;
};

TEST_F(DrawnPreview, DrawsNothingWhileTheBoxIsUnticked) {
  SynthSettings.FrqDistribution = 0;
  DrawDistributionPreview();
  EXPECT_EQ(*picture, Raster(PreviewWidth, PreviewHeight, Marker));
  EXPECT_EQ(canvas.shows, 0);
}

TEST_F(DrawnPreview, WhiteCurveOnBlackThroughTheRoundedSamples) {
  SynthSettings.FrqDistribution = 1;
  DrawDistributionPreview();
  EXPECT_EQ(canvas.shows, 1);  // one drawing block

  // Samples 40, 80, 120, 159 are drawn at rows 64, 49, 24, 0; sample 0 lies at row 70, below the picture.
  EXPECT_EQ(picture->At(40, 64), White);
  EXPECT_EQ(picture->At(80, 49), White);
  EXPECT_EQ(picture->At(120, 24), White);
  EXPECT_EQ(picture->At(159, 0), White);
  EXPECT_EQ(picture->At(80, 48), Black);
  EXPECT_EQ(picture->At(80, 50), Black);

  const auto samples = PreviewSamples(SynthSettings.DistA, SynthSettings.DistB, SynthSettings.DistC,
                                      SynthSettings.DistD);
  for (int x = 0; x < PreviewWidth; ++x) {
    const int row = static_cast<int>(std::nearbyint(samples[x]));
    if (row < PreviewHeight) {
      EXPECT_EQ(picture->At(x, row), White) << "column " << x;
    }
    for (int y = 0; y < PreviewHeight; ++y) {
      const Colour pixel = picture->At(x, y);
      EXPECT_TRUE(pixel == White || pixel == Black) << x << "," << y;
      // Every white pixel lies between the rows of the samples on either side of its column.
      if (pixel == White) {
        const double low = std::min(samples[x], samples[std::min(x + 1, PreviewWidth - 1)]);
        const double high = std::max(samples[x], samples[std::max(x - 1, 0)]);
        EXPECT_GE(y, std::floor(low) - 1) << x << "," << y;
        EXPECT_LE(y, std::ceil(high) + 1) << x << "," << y;
      }
    }
  }
  // Samples 0 and 1 (70.00, 69.95) both round to row 70, so the first segment lies wholly below the picture.
  for (int y = 0; y < PreviewHeight; ++y) EXPECT_EQ(picture->At(0, y), Black) << y;
}

TEST_F(DrawnPreview, RedrawsFromScratchForNewFractions) {
  SynthSettings.FrqDistribution = 1;
  DrawDistributionPreview();
  SynthSettings.DistA = 0.25f;
  SynthSettings.DistB = 0.25f;
  SynthSettings.DistC = 0.75f;
  SynthSettings.DistD = 0.75f;
  DrawDistributionPreview();
  // The straight diagonal passes (80, 35); the old curve at (80, 49) is gone.
  EXPECT_EQ(picture->At(80, 35), White);
  EXPECT_EQ(picture->At(80, 49), Black);
}

// The preview's rows by the curve's definition: the Bezier x(t) = 3a t(1-t)^2 + 3c t^2(1-t) + t^3 solved
// for t by five Newton steps from t = x, then row 70 - 70 y(t) with y from b and d the same way.
std::vector<int> ModelPreviewRows(double a, double b, double c, double d) {
  auto bezier = [](double p1, double p2, double t) {
    return 3 * p1 * t * (1 - t) * (1 - t) + 3 * p2 * t * t * (1 - t) + t * t * t;
  };
  auto slope = [](double p1, double p2, double t) {
    return 3 * p1 * (1 - t) * (1 - 3 * t) + 3 * p2 * t * (2 - 3 * t) + 3 * t * t;
  };
  std::vector<int> rows;
  for (int i = 0; i < PreviewWidth; ++i) {
    const double x = i / 160.0;
    double t = x;
    for (int step = 0; step < 5; ++step) t -= (bezier(a, c, t) - x) / slope(a, c, t);
    t = std::clamp(t, 0.0, 1.0);
    rows.push_back(static_cast<int>(std::nearbyint(70 - std::min(70.0, 70 * bezier(b, d, t)))));
  }
  return rows;
}

// A steep start puts sample 0 at row 70 and sample 1 at row 68: the first line crosses row 69 at x = 0.5,
// which rounds to column 0.
TEST_F(DrawnPreview, SteepCurveMatchesTheModelCurve) {
  SynthSettings.FrqDistribution = 1;
  SynthSettings.DistA = 0.01f;
  SynthSettings.DistB = 0.01f;
  SynthSettings.DistC = 0.01f;
  SynthSettings.DistD = 0.32f;
  DrawDistributionPreview();
  const std::vector<int> rows = ModelPreviewRows(0.01, 0.01, 0.01, 0.32);
  Raster expected(PreviewWidth, PreviewHeight, Black);
  for (int i = 0; i + 1 < PreviewWidth; ++i)
    for (auto [x, y] : line_model::LinePixels(PreviewWidth, PreviewHeight, i, rows[i], i + 1, rows[i + 1]))
      expected.At(x, y) = White;
  EXPECT_EQ(*picture, expected);
}

// Without its control the preview must leave alone whatever block is open and the image it draws on.
TEST(DistributionPreviewWithoutCanvas, LeavesAnOpenBlockAndItsImageAlone) {
  ResetGlobals();
  SynthSettings.FrqDistribution = 1;
  SetCanvasHooks({});
  ImageRef image = NewImage(1, 8, 8);
  ASSERT_TRUE(BeginDrawing(HandleTarget(image)));
  FillRect(0, 0, 8, 8, Marker);
  DrawDistributionPreview();
  EXPECT_EQ(OutputWidth(), 8) << "the block was ended";
  EndDrawing();
  EXPECT_EQ(*image, Raster(8, 8, Marker));
  DropAllImages();
}

}  // namespace
