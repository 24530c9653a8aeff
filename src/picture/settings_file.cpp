// WriteSettingsFile and ReadSettingsFile: the sound controls and the band curve through the settings store.
#include "picture/settings_file.h"

#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "distribution/distribution_preview.h"
#include "picture/settings_file_keys.h"
#include "picture/settings_store.h"
#include "picture/surface.h"
#include "ui/ui.h"

namespace {

// Positions of the keys in IntSettingKeys, in the order the reading steps use them.
constexpr std::size_t FirstSliderKey = 0;       // SoundDuration, SampleRate, FrqFrom, FrqTo
constexpr std::size_t SliderKeyCount = 4;
constexpr std::size_t DistributionKey = 4;      // FrqDistribution
constexpr std::size_t FirstDistKey = 5;         // FrqDistA .. FrqDistD
constexpr int DistributionTicked = 1;

std::int32_t ReadKey(const IntSettingKey& key) { return ReadSettingInt(key.key, key.defaultValue); }

// The settings as the slider handlers leave them after a change of the four sound sliders.
void TakeSoundSliders() {
  SynthSettings.SampleRate = UiGetState(SampleRateSlider);
  SynthSettings.Duration = DurationFromMilliseconds(UiGetState(SoundDurationSlider));
  SynthSettings.SampleCount = ComputeSampleCount(SynthSettings.SampleRate, SynthSettings.Duration);
  SynthSettings.FrqFrom = LastFrqFrom = UiGetState(FrqFromSlider);
  SynthSettings.FrqTo = LastFrqTo = UiGetState(FrqToSlider);
}

void RefreshDistributionPreview() {
  if (SynthSettings.FrqDistribution == DistributionTicked) {
    DrawDistributionPreview();
  } else if (BeginDrawing(CanvasTarget(DistributionPreview))) {
    FillRect(0, 0, PreviewWidth, PreviewHeight, Black);
    EndDrawing();
  }
}

}  // namespace

bool WriteSettingsFile(const std::string& imageName) {
  OpenSettings(SettingsFileName(imageName));
  for (const IntSettingKey& key : IntSettingKeys) WriteSettingInt(key.key, UiGetState(key.control));
  std::vector<StoredBandPoint> points;
  // Without an editor no band keys are written, so those already in the file stay as they are.
  if (ExportBandPoints(BandLevelEditorNumber, points) != 0)
    for (int i = 0; i < SettingsBandPointCount && i < static_cast<int>(points.size()); ++i)
      WriteSettingText(BandPointKey(i + 1), FormatBandPoint(points[static_cast<std::size_t>(i)]));
  return CloseSettings();
}

void ReadSettingsFile(const std::string& imageName) {
  if (OpenSettings(SettingsFileName(imageName)) == 0) {
    CloseSettings();
    return;
  }
  for (std::size_t i = FirstSliderKey; i < FirstSliderKey + SliderKeyCount; ++i)
    UiSetState(IntSettingKeys[i].control, ReadKey(IntSettingKeys[i]));  // the slider keeps it within range

  const IntSettingKey& distribution = IntSettingKeys[DistributionKey];
  SynthSettings.FrqDistribution = ReadKey(distribution) == DistributionTicked ? 1 : 0;
  UiSetState(distribution.control, SynthSettings.FrqDistribution);

  float* const fractions[] = {&SynthSettings.DistA, &SynthSettings.DistB, &SynthSettings.DistC, &SynthSettings.DistD};
  for (std::size_t i = 0; i < std::size(fractions); ++i) {
    const IntSettingKey& key = IntSettingKeys[FirstDistKey + i];
    UiSetState(key.control, ReadKey(key));
    *fractions[i] = FractionFromPosition(UiGetState(key.control));
  }

  TakeSoundSliders();
  RefreshDistributionPreview();

  std::vector<StoredBandPoint> points;
  for (int i = 1; i <= SettingsBandPointCount; ++i)
    points.push_back(ParseBandPoint(ReadSettingText(BandPointKey(i), DefaultBandPointText)));
  ImportBandPoints(BandLevelEditorNumber, points);
  CloseSettings();
}
