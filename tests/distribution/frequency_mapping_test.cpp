// The two row-to-frequency mappings against their worked values, and the solver's edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "distribution/frequency_mapping.h"

namespace {

// Half a unit of the last digit shown: the value must round to the shown figure.
double ShownAccuracy(int decimals) { return 0.5 * std::pow(10.0, -decimals) + 1e-9; }

struct DefaultCase {
  int row, from, to;
  double expected;
  int decimals;
};

TEST(DefaultFrequency, WorkedValues) {
  const std::vector<DefaultCase> cases = {
      {0, 90, 9000, 44.79, 2},    {1, 90, 9000, 45.42, 2},    {49, 90, 9000, 88.75, 2},
      {50, 90, 9000, 90.00, 2},   {51, 90, 9000, 91.26, 2},   {100, 90, 9000, 180.8, 1},
      {190, 90, 9000, 634.9, 1},  {300, 90, 9000, 2947.1, 1}, {379, 90, 9000, 8875.2, 1},
      {0, 70, 9000, 33.54, 2},    {50, 70, 9000, 70.00, 2},   {379, 70, 9000, 8868.6, 1},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(DefaultFrequency(c.row, c.from, c.to), c.expected, ShownAccuracy(c.decimals))
        << "row " << c.row << " from " << c.from << " to " << c.to;
  }
}

TEST(DefaultFrequency, RisesByOneRatioPerRowAndReachesToOnePastTheBottom) {
  const float ratio = DefaultFrequency(51, 90, 9000) / DefaultFrequency(50, 90, 9000);
  EXPECT_NEAR(DefaultFrequency(200, 90, 9000) / DefaultFrequency(199, 90, 9000), ratio, 1e-5);
  EXPECT_NEAR(DefaultFrequency(380, 90, 9000), 9000.0, 0.1);
  for (int row = 1; row < 380; ++row) EXPECT_GT(DefaultFrequency(row, 90, 9000), DefaultFrequency(row - 1, 90, 9000));
}

TEST(DefaultFrequency, EqualEndsGiveFromForEveryRow) {
  for (int row : {0, 50, 190, 379}) EXPECT_FLOAT_EQ(DefaultFrequency(row, 440, 440), 440.0f);
}

TEST(DefaultFrequency, ZeroFromGivesZeroInsteadOfInfinity) { EXPECT_EQ(DefaultFrequency(10, 0, 9000), 0.0f); }

struct ShownValue {
  int row;
  double expected;
  int decimals;
};

struct ShapedCase {
  float a, b, c, d;
  int from;
  std::vector<ShownValue> rows;
};

TEST(DistributionFrequency, WorkedValues) {
  const std::vector<ShapedCase> cases = {
      {0.5f, 0.05f, 0.75f, 0.75f, 90,
       {{0, 40.00, 2}, {50, 301.5, 1}, {95, 801.5, 1}, {190, 2768.7, 1}, {285, 5876.2, 1}, {379, 8926.4, 1}}},
      {0.5f, 0.05f, 0.75f, 0.75f, 70,
       {{0, 20.00, 2}, {50, 282.1, 1}, {95, 783.2, 1}, {190, 2754.8, 1}, {285, 5869.3, 1}, {379, 8926.4, 1}}},
      {0.25f, 0.25f, 0.75f, 0.75f, 90, {{0, 40.00, 2}, {190, 4495.0, 1}, {379, 8926.6, 1}}},
  };
  for (const auto& c : cases) {
    for (const auto& r : c.rows) {
      const float x = static_cast<float>(r.row) / 380.0f;
      EXPECT_NEAR(DistributionFrequency(x, c.a, c.b, c.c, c.d, c.from, 9000), r.expected, ShownAccuracy(r.decimals))
          << "row " << r.row << " from " << c.from << " A " << c.a;
    }
  }
}

TEST(DistributionFrequency, RowZeroIsExactlyFiftyBelowFrom) {
  for (int from : {70, 90, 1500}) {
    EXPECT_EQ(DistributionFrequency(0.0f, 0.3f, 0.9f, 0.2f, 0.1f, from, 9000), static_cast<float>(from - 50));
  }
}

TEST(DistributionFrequency, EqualEndsGiveFiftyBelowFromForEveryRow) {
  for (int row : {0, 95, 190, 379}) {
    EXPECT_FLOAT_EQ(DistributionFrequency(row / 380.0f, 0.5f, 0.05f, 0.75f, 0.75f, 600, 600), 550.0f);
  }
}

TEST(DistributionFrequency, ParameterIsClampedToTheCurve) {
  // Beyond either end Newton's method leaves t outside 0..1; the clamp pins the curve's end values.
  EXPECT_FLOAT_EQ(DistributionFrequency(2.0f, 0.25f, 0.25f, 0.75f, 0.75f, 90, 9000), 8950.0f);
  EXPECT_FLOAT_EQ(DistributionFrequency(-1.0f, 0.25f, 0.25f, 0.75f, 0.75f, 90, 9000), 40.0f);
}

TEST(DistributionFrequency, UnsolvableParameterCountsAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FLOAT_EQ(DistributionFrequency(0.5f, nan, 0.05f, 0.75f, 0.75f, 90, 9000), 40.0f);
  EXPECT_FLOAT_EQ(DistributionFrequency(nan, 0.5f, 0.05f, 0.75f, 0.75f, 90, 9000), 40.0f);
}

TEST(DistributionFrequency, ZeroEndGivesThePreviewRow) {
  // Either end 0 switches to the preview: 70 at the bottom-left, 0 at the top-right.
  EXPECT_FLOAT_EQ(DistributionFrequency(0.0f, 0.5f, 0.05f, 0.75f, 0.75f, 0, 0), 70.0f);
  EXPECT_FLOAT_EQ(DistributionFrequency(2.0f, 0.5f, 0.05f, 0.75f, 0.75f, 90, 0), 0.0f);
  EXPECT_FLOAT_EQ(DistributionFrequency(2.0f, 0.5f, 0.05f, 0.75f, 0.75f, 0, 9000), 0.0f);
  const float mid = DistributionFrequency(0.5f, 0.25f, 0.25f, 0.75f, 0.75f, 0, 0);
  EXPECT_NEAR(mid, 35.0f, 1e-4);
}

TEST(DistributionFrequency, PreviewRowNeverGoesAboveTheTop) {
  // Inner control points above 1 bend the curve past y = 1 (1.625 at t = 0.5); the preview row stops at 0.
  EXPECT_FLOAT_EQ(DistributionFrequency(0.5f, 0.25f, 2.0f, 0.75f, 2.0f, 0, 0), 0.0f);
  EXPECT_NEAR(DistributionFrequency(0.5f, 0.25f, 2.0f, 0.75f, 2.0f, 1050, 2050), 1000.0 + 1000.0 * 1.625, 0.01);
}

TEST(CubicPrimitives, IntermediatesAreDoublePrecision) {
  // In single precision 1e8 + 1 - 1e8 loses the 1.
  EXPECT_FLOAT_EQ(CubicValue(1.0f, 1e8f, 1.0f, -1e8f, 0.0f), 1.0f);
}

}  // namespace
