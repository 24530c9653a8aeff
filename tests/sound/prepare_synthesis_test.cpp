// PrepareSynthesis on the live canvas picture, with the program's own mappings and band levels.
#include <gtest/gtest.h>

#include <cmath>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "distribution/frequency_mapping.h"
#include "picture/surface.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"
#include "support/stand_in_canvas.h"

namespace {

TEST(PrepareSynthesis, ReadsTheLiveCanvasWithDefaultMapping) {
  ResetGlobals();
  StandInCanvas canvas;
  canvas.picture.At(12, 34) = MakeColour(0, 255, 0);
  PrepareSynthesis();
  ASSERT_EQ(SynthesisWidth, 380);
  ASSERT_EQ(SynthesisHeight, 380);
  ASSERT_EQ(RowFrequency.size(), 380u);
  ASSERT_EQ(PixelLevel.size(), 380u * 380u);
  for (int j : {0, 50, 379}) EXPECT_EQ(RowFrequency[j], DefaultFrequency(j, 90, 9000)) << j;
  EXPECT_LT(RowFrequency[0], RowFrequency[379]);
  for (float level : RowLevel) ASSERT_EQ(level, 0.5f);
  EXPECT_EQ(PixelLevel[34 * 380 + 12], 149.4140625f);
  EXPECT_EQ(PixelLevel[34 * 380 + 13], 0.0f);
}

TEST(PrepareSynthesis, ShapedMappingWhenTheDistributionIsOn) {
  ResetGlobals();
  SynthSettings.FrqDistribution = 1;
  StandInCanvas canvas;
  PrepareSynthesis();
  for (int j : {0, 190, 379}) {
    const float expected = DistributionFrequency(static_cast<float>(j) / 380.0f, SynthSettings.DistA, SynthSettings.DistB,
                                                 SynthSettings.DistC, SynthSettings.DistD, 90, 9000);
    EXPECT_EQ(RowFrequency[j], expected) << j;
  }
}

TEST(PrepareSynthesis, WithoutACanvasTheNextSoundIsSilent) {
  ResetGlobals();
  SetCanvasHooks({});
  PrepareSynthesis();
  EXPECT_EQ(SynthesisWidth, 0);
  RenderSound();
  ASSERT_EQ(SoundBuffer.size(), 15001u);
  for (float s : SoundBuffer) ASSERT_EQ(s, 0.0f);
}

TEST(PrepareSynthesis, WhitePixelThroughBothStepsPeaksInItsColumn) {
  ResetGlobals();
  StandInCanvas canvas;
  canvas.picture.At(100, 200) = White;
  PrepareSynthesis();
  RenderSound();
  ASSERT_EQ(SoundBuffer.size(), 15001u);
  float peak = 0.0f;
  for (std::size_t i = 0; i < SoundBuffer.size(); ++i) {
    const bool inColumn = i >= 4000 && i < 4040;
    ASSERT_EQ(SoundBuffer[i] != 0.0f, inColumn) << i;
    peak = std::fmax(peak, std::fabs(SoundBuffer[i]));
  }
  EXPECT_EQ(peak, 1.0f);
}

}  // namespace
