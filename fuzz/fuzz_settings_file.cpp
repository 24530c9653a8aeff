// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a settings file. The key/value store must parse them, lay them out again and read
// back the same entries; the file opened as Load opens it must give values that apply to the sound settings
// and the band level editor, whose curve is evaluated and drawn; and writing the values back into the file,
// as Save does, must read back as the very same values.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "distribution/band_editor.h"
#include "picture/key_value_store.h"
#include "picture/settings_file.h"
#include "sound/synthesis.h"

namespace {

std::string settingsName;

void Check(bool condition) {
  if (!condition) std::abort();
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool SameValues(const SettingsValues& a, const SettingsValues& b) {
  return a.integers == b.integers && a.bandPoints == b.bandPoints;
}

void CheckStore(std::string_view bytes) {
  const SettingsDocument document = ParseSettingsDocument(bytes);
  Check(ParseSettingsDocument(SerialiseSettingsDocument(document)) == document);
  // Writing the program's keys changes only those keys: everything else reads back as it was.
  SettingsDocument written = document;
  const SoundSettingValues start = StartSoundSettingValues();
  for (int i = 0; i < SoundSettingCount; ++i) SetSetting(written, SoundSettingRanges[i].key, std::to_string(start[i]));
  const SettingsDocument reread = ParseSettingsDocument(SerialiseSettingsDocument(written));
  Check(reread == written);
  for (int i = 0; i < SoundSettingCount; ++i) Check(LookupSetting(reread, SoundSettingRanges[i].key) == std::to_string(start[i]));
}

void CheckApplied(const SettingsValues& values) {
  const SynthSettingsRecord settings = SynthSettingsFromValues(values.integers);
  Check(std::isfinite(settings.Duration) && std::isfinite(settings.DistA) && std::isfinite(settings.DistB) &&
        std::isfinite(settings.DistC) && std::isfinite(settings.DistD));
  Check(settings.SampleCount > 0 && (settings.FrqDistribution == 0 || settings.FrqDistribution == 1));
  BandLevelEditor editor = ProgramBandEditorRecord();
  Check(ImportBandPointsInto(editor, values.bandPoints));
  for (int row = 0; row < CanvasSize; ++row) {
    EvaluateBandCurveOn(editor, row);
    Check(std::isfinite(BandLevelOf(editor, true, row)));
  }
  Raster surface(editor.width, editor.height);
  DrawBandEditorOn(surface, editor);
  Check(surface.pixels.size() == static_cast<std::size_t>(editor.width) * static_cast<std::size_t>(editor.height));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A folder in memory keeps the file writes cheap.
  char folder[] = "/dev/shm/vellora-fuzz-XXXXXX";
  if (!mkdtemp(folder)) std::abort();
  settingsName = SettingsFileName(std::string(folder) + "/x.bmp");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckStore(bytes);

  WriteFile(settingsName, bytes);
  SettingsStore store = OpenSettings(settingsName);
  unlink(settingsName.c_str());
  if (!store.exists) {  // only a file too large to read
    Check(size > MaxSettingsFileBytes);
    return 0;
  }
  const SettingsValues values = ReadSettingsValues(store);
  Check(values.bandPoints.size() == static_cast<std::size_t>(SettingsBandPointCount));
  CheckApplied(values);

  WriteSettingsValues(store, values);
  const auto output = PendingSettingsOutput(store);
  Check(output.has_value());
  Check(SameValues(ReadSettingsValues(StoreForContent(settingsName, *output, true)), values));
  return 0;
}
