// WriteSettingsFile and ReadSettingsFile: the sound controls and the band curve through the settings store.
#include "picture/settings_file.h"

#include <iterator>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "distribution/distribution_preview.h"
#include "picture/settings_file_keys.h"
#include "picture/settings_store.h"
#include "picture/settings_values.h"
#include "ui/ui.h"

bool WriteSettingsFile(const std::string& imageName) {
  SettingsValues values;
  for (std::size_t i = 0; i < IntSettingKeys.size(); ++i) values.integers[i] = UiGetState(IntSettingKeys[i].control);
  if (ExportBandPoints(BandLevelEditorNumber, values.bandPoints) == 0) values.bandPoints.clear();
  return WriteSettingsValuesFile(SettingsFileName(imageName), values);
}

void ReadSettingsFile(const std::string& imageName) {
  const std::optional<SettingsValues> values = ReadSettingsValuesFile(SettingsFileName(imageName));
  if (!values) return;
  // Each control takes its value within its own range; the settings then follow the controls.
  for (std::size_t i = 0; i < IntSettingKeys.size(); ++i)
    UiSetState(IntSettingKeys[i].control, ClampedSettingValue(i, values->integers[i]));
  const SynthSettingsRecord loaded = SynthSettingsFromValues(*values);
  SynthSettings.SampleRate = loaded.SampleRate;
  SynthSettings.Duration = loaded.Duration;
  SynthSettings.SampleCount = loaded.SampleCount;
  SynthSettings.FrqFrom = LastFrqFrom = loaded.FrqFrom;
  SynthSettings.FrqTo = LastFrqTo = loaded.FrqTo;
  SynthSettings.FrqDistribution = loaded.FrqDistribution;
  SynthSettings.DistA = loaded.DistA;
  SynthSettings.DistB = loaded.DistB;
  SynthSettings.DistC = loaded.DistC;
  SynthSettings.DistD = loaded.DistD;
  RefreshDistributionPreview();
  ImportBandPoints(BandLevelEditorNumber, values->bandPoints);
}
