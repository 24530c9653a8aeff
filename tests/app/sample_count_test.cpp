// SampleCount follows the rate and the stored 32-bit duration, rounded half to even.
#include <gtest/gtest.h>

#include "app/settings.h"

namespace {

TEST(SampleCount, FollowsRateTimesStoredDuration) {
  struct Case {
    int rate;
    int milliseconds;
    int expected;
  };
  const Case cases[] = {
      {3000, 5000, 15000}, {22050, 1001, 22072}, {22050, 15000, 330750}, {2000, 1000, 2000}, {3800, 1000, 3800},
      // 2001 x 1.5 = 3001.5 exactly: the tie goes to the even neighbour.
      {2001, 1500, 3002},
      // 2003 x 1.5 = 3004.5: again to the even neighbour, below.
      {2003, 1500, 3004},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeSampleCount(c.rate, DurationFromMilliseconds(c.milliseconds)), c.expected)
        << c.rate << " Hz, " << c.milliseconds << " ms";
  }
}

TEST(SampleCount, StartValuesAgree) {
  ResetGlobals();
  EXPECT_EQ(SynthSettings.SampleCount, 15000);
  EXPECT_EQ(LastFrqFrom, SynthSettings.FrqFrom);
  EXPECT_EQ(LastFrqTo, SynthSettings.FrqTo);
  EXPECT_FLOAT_EQ(SynthSettings.DistB, 0.05f);
  EXPECT_EQ(FractionFromPosition(5), SynthSettings.DistB);
}

}  // namespace
