// Fuzz target: any bytes as a settings file. The key/value store must parse them, lay them out again
// and read back the same entries; the started program must Load them as the settings beside a picture,
// and a Save right after must write settings that Load back to the very same controls.
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "app/startup.h"
#include "distribution/band_level_editor.h"
#include "picture/key_value_store.h"
#include "picture/settings_file.h"
#include "picture/settings_file_keys.h"
#include "ui/ui.h"

namespace {

std::string imageName;

void Check(bool condition) {
  if (!condition) std::abort();
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Everything a settings file sets: the controls' states and the band points.
struct Controls {
  std::vector<int> states;
  std::vector<StoredBandPoint> points;
  bool operator==(const Controls&) const = default;
};

Controls CurrentControls() {
  Controls controls;
  for (const IntSettingKey& key : IntSettingKeys) controls.states.push_back(UiGetState(key.control));
  ExportBandPoints(BandLevelEditorNumber, controls.points);
  return controls;
}

void CheckStore(std::string_view bytes) {
  const SettingsDocument document = ParseSettingsDocument(bytes);
  Check(ParseSettingsDocument(SerialiseSettingsDocument(document)) == document);
  // Writing the program's keys changes only those keys: everything else reads back as it was.
  SettingsDocument written = document;
  for (const IntSettingKey& key : IntSettingKeys) SetSetting(written, key.key, std::to_string(key.defaultValue));
  const SettingsDocument reread = ParseSettingsDocument(SerialiseSettingsDocument(written));
  Check(reread == written);
  for (const IntSettingKey& key : IntSettingKeys)
    Check(LookupSetting(reread, key.key) == std::to_string(key.defaultValue));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!StartUp()) std::abort();
  // A folder in memory keeps the synced writes of Save cheap.
  char folder[] = "/dev/shm/vellora-fuzz-XXXXXX";
  if (!mkdtemp(folder)) std::abort();
  imageName = std::string(folder) + "/x.bmp";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckStore(bytes);

  const std::string settingsName = SettingsFileName(imageName);
  WriteFile(settingsName, bytes);
  ReadSettingsFile(imageName);
  Check(std::isfinite(SynthSettings.DistA) && std::isfinite(SynthSettings.DistB) &&
        std::isfinite(SynthSettings.DistC) && std::isfinite(SynthSettings.DistD));
  Check(SynthSettings.SampleCount >= 0);
  const Controls loaded = CurrentControls();

  unlink(settingsName.c_str());
  WriteSettingsFile(imageName);
  ReadSettingsFile(imageName);
  Check(CurrentControls() == loaded);
  unlink(settingsName.c_str());
  return 0;
}
