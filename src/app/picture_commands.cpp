// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's commands: the brush and the rubber-band line drawn over the snapshot taken at each press,
// the tool buttons, Clear, Rotate, and Save and Load with the settings file over the controls.
#include <cerrno>
#include <cstring>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "picture/document.h"
#include "picture/picture_transform.h"
#include "picture/surface.h"

namespace {

void TakeSnapshot() {
  if (!BeginDrawing(ImageTarget(CanvasImage))) return;
  BlitImage(CanvasPicture(PaintCanvas), 0, 0);
  EndDrawing();
}

}  // namespace

void HandleCanvasEvent(ControlEventType type, int x, int y, int buttons) {
  if (type == ControlEventType::LeftButtonDown) {
    ResetRepeat();
    TakeSnapshot();
    LineStartX = x;
    LineStartY = y;
    PaintAt(x, y, type);
  } else if (type == ControlEventType::MouseMove && (buttons & LeftButtonBit)) {
    PaintAt(x, y, type);
  }
}

void PaintAt(int x, int y, ControlEventType type) {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  if (Tool == BrushToggle) {
    if (type == ControlEventType::LeftButtonDown || type == ControlEventType::MouseMove)
      FillCircle(x, y, UiGetState(BrushSizeSpin), BrushColor);
  } else if (Tool == LineToggle) {
    BlitImage(ImageHandle(CanvasImage), 0, 0);
    DrawLine(LineStartX, LineStartY, x, y, BrushColor);
  }
  EndDrawing();
}

void HandleToolToggle(int control) {
  Tool = control;
  for (int toggle : {BrushToggle, LineToggle}) UiSetState(toggle, toggle == Tool ? 1 : 0);
}

void HandleColorButton() {
  const std::int64_t chosen = UiChooseColour(BrushColor);
  if (chosen < 0) return;
  BrushColor = static_cast<Colour>(chosen) & ColourMask;
  if (!BeginDrawing(ImageTarget(SwatchImage))) return;
  FillRect(0, 0, SwatchSize, SwatchSize, BrushColor);
  EndDrawing();
  if (ImageRef swatch = ImageHandle(SwatchImage)) UiSetButtonImage(ColorButton, *swatch);
}

void HandleClearButton() {
  ResetRepeat();
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  FillRect(0, 0, CanvasSize, CanvasSize, Black);
  EndDrawing();
}

void Rotate() {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  Raster picture(OutputWidth(), OutputHeight());
  for (int x = 0; x < picture.width; ++x)
    for (int y = 0; y < picture.height; ++y) picture.At(x, y) = GetPixel(x, y);
  Raster turned = RotatedClockwise(picture);
  FillRect(0, 0, CanvasSize, CanvasSize, Black);
  BlitImage(&turned, 0, 0);
  EndDrawing();
}

namespace {

constexpr const char* SaveTitle = "Save";
constexpr const char* LoadTitle = "Load";

// The values of the sound controls and the band points, as Save writes them.
SettingsValues ControlSettingsValues() {
  SettingsValues values;
  for (int i = 0; i < SoundSettingCount; ++i) values.integers[i] = UiGetState(SettingControl(i));
  if (ExportBandPoints(BandLevelEditorNumber, values.bandPoints) == 0) values.bandPoints.clear();
  return values;
}

// Each control takes its value within its own range; the settings then follow the controls.
void TakeSettingsValues(const SettingsValues& values) {
  for (int i = 0; i < SoundSettingCount; ++i) UiSetState(SettingControl(i), ClampedSettingValue(i, values.integers[i]));
  const SynthSettingsRecord loaded = SynthSettingsFromValues(values.integers);
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
  ImportBandPoints(BandLevelEditorNumber, values.bandPoints);
}

}  // namespace

bool WriteSettingsFile(const std::string& imageName) {
  return WriteSettingsValuesFile(SettingsFileName(imageName), ControlSettingsValues());
}

void ReadSettingsFile(const std::string& imageName) {
  if (const std::optional<SettingsValues> values = ReadSettingsValuesFile(SettingsFileName(imageName)))
    TakeSettingsValues(*values);
}

void RunSaveCommand() {
  const FileChoice choice = UiFileDialog(true, SaveTitle, ImageFileFilters);
  if (choice.path.empty()) return;
  const std::string name = NameWithSaveExtension(choice.path, choice.filterIndex);
  const Raster* canvas = CanvasPicture(PaintCanvas);
  const SavedDocument saved = canvas ? SaveDocument(name, *canvas, ControlSettingsValues())
                                     : SavedDocument{false, false, name, std::strerror(ENOENT)};
  if (saved.ok) return;
  // A Save that did not happen is said so: silence would look like success while the files on disk are old.
  UiMessageBox(SaveTitle, std::string("The ") + (saved.pictureWritten ? "settings" : "picture") +
                              " could not be saved as " + saved.failedPath + " (" + saved.reason +
                              "). Any earlier file of that name is unchanged.");
}

void RunLoadCommand() {
  const FileChoice choice = UiFileDialog(false, LoadTitle, ImageFileFilters);
  if (choice.path.empty()) return;
  ResetRepeat();
  // The settings are taken even when the picture cannot be read.
  LoadedDocument loaded = LoadDocument(choice.path);
  if (loaded.picture) ShowOnCanvas(PaintCanvas, &*loaded.picture);
  if (loaded.settings) TakeSettingsValues(*loaded.settings);
}
