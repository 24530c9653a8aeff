// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its controls' places, texts and ranges, and start-up in its fixed order (shared state,
// images, the window, menu, controls, blank surfaces) and shut-down.
#include <array>
#include <string>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "distribution/frequency_mapping.h"
#include "picture/settings_file.h"
#include "picture/surface.h"

namespace {

using K = ControlKind;
constexpr int NoState = -1;

// A control that shows a sound setting takes its range and start value from the setting.
constexpr ControlEntry SettingEntry(int number, ControlKind kind, int x, int y, int width, int height,
                                    std::string_view label, int setting) {
  const SoundSettingRange& range = SoundSettingRanges[setting];
  return {number, kind, x, y, width, height, label, range.minimum, range.maximum, range.start, false, setting};
}

constexpr std::array<ControlEntry, 29> Controls = {{
    {PaintCanvas, K::Canvas, 10, 10, CanvasSize, CanvasSize, "", 0, 0, NoState, true},
    {DistributionPreview, K::Canvas, 530, 115, PreviewWidth, PreviewHeight, "", 0, 0, NoState, true},
    {SoundFrame, K::GroupFrame, 505, 2, 205, 390, "Sound", 0, 0, NoState, false},
    {BrushToggle, K::ToggleButton, 400, 70, 50, 25, "Brush", 0, 0, NoState, false},
    {BrushSizeSpin, K::SpinBox, 460, 70, 30, 25, "", 1, 11, 8, false},
    {ColorButton, K::ImageButton, 400, 10, 50, 50, "", 0, 0, NoState, false},
    {LineToggle, K::ToggleButton, 400, 100, 50, 25, "Line", 0, 0, 0, false},
    {ClearButton, K::Button, 400, 130, 50, 25, "Clear", 0, 0, NoState, false},
    {RotateButton, K::Button, 400, 160, 50, 25, "Rotate", 0, 0, NoState, false},
    {SynthesizeButton, K::Button, 400, 215, 70, 40, "Synthesize", 0, 0, NoState, false},
    {RepeatCheckbox, K::Checkbox, 410, 265, 60, 20, "Repeat", 0, 0, 0, false},
    {FrqFromLabel, K::Label, 620, 195, 50, 20, "Frq From", 0, 0, NoState, false},
    SettingEntry(FrqFromSlider, K::VerticalSlider, 640, 210, 20, 80, "", FrqFromSetting),
    {FrqToLabel, K::Label, 670, 195, 50, 20, "Frq To", 0, 0, NoState, false},
    SettingEntry(FrqToSlider, K::VerticalSlider, 680, 210, 20, 80, "", FrqToSetting),
    SettingEntry(DistributionCheckbox, K::Checkbox, 530, 90, 170, 20, "Enable Frequency Distribution",
                 DistributionSetting),
    {SampleRateLabel, K::Label, 560, 55, 100, 20, "Sample Rate", 0, 0, NoState, false},
    SettingEntry(SampleRateSlider, K::HorizontalSlider, 510, 70, 180, 20, "", SampleRateSetting),
    {SoundDurationLabel, K::Label, 560, 15, 100, 20, "Sound Duration", 0, 0, NoState, false},
    SettingEntry(SoundDurationSlider, K::HorizontalSlider, 510, 30, 180, 20, "", DurationSetting),
    {SaveButton, K::Button, 400, 320, 50, 20, "Save", 0, 0, NoState, false},
    {LoadButton, K::Button, 400, 350, 50, 20, "Load", 0, 0, NoState, false},
    SettingEntry(DistASlider, K::VerticalSlider, 530, 210, 20, 80, "", DistASetting),
    SettingEntry(DistBSlider, K::VerticalSlider, 550, 210, 20, 80, "", DistBSetting),
    SettingEntry(DistCSlider, K::VerticalSlider, 570, 210, 20, 80, "", DistCSetting),
    SettingEntry(DistDSlider, K::VerticalSlider, 590, 210, 20, 80, "", DistDSetting),
    {DistributionLabel, K::Label, 525, 195, 90, 20, "Adjust Distribution", 0, 0, NoState, false},
    {BandLevelLabel, K::Label, 540, 290, 150, 20, "Adjust Frequency Band Level", 0, 0, NoState, false},
    {ReadoutLabel, K::Label, 10, 398, 700, 20, "", 0, 0, NoState, false},
}};

}  // namespace

std::span<const ControlEntry> MainControls() { return Controls; }

const ControlEntry* FindControlEntry(int number) {
  for (const ControlEntry& entry : Controls)
    if (entry.number == number) return &entry;
  return nullptr;
}

int SettingControl(int setting) {
  for (const ControlEntry& entry : Controls)
    if (entry.setting >= 0 && entry.setting == setting) return entry.number;
  return -1;
}

namespace {

constexpr int MainClientWidth = 720;
constexpr int MainClientHeight = 425;
// The band level editor sits under "Adjust Frequency Band Level".
constexpr int BandEditorX = 530, BandEditorY = 310;

void CreateMenuBar() {
  if (!UiCreateMenuBar(MainWindow)) return;
  UiAddMenu(MainWindow, "File");
  UiAddMenuItem(MainWindow, ImportSoundItem, "Import Sound...");
  UiAddMenuItem(MainWindow, ImportMidiItem, "Import MIDI...");
  UiAddMenuItem(MainWindow, ExportSoundItem, "Export Sound...");
  UiAddMenuItem(MainWindow, ExportMidiItem, "Export MIDI...");
  UiAddMenuItem(MainWindow, ExitItem, "Exit");
  UiAddMenu(MainWindow, "?");
  UiAddMenuItem(MainWindow, AboutItem, "About");
  UiAddMenuItem(MainWindow, HelpItem, "Help");
}

void FillSurface(DrawTarget target, int width, int height, Colour colour) {
  if (!BeginDrawing(target)) return;
  FillRect(0, 0, width, height, colour);
  EndDrawing();
}

void CreateControls() {
  const BandEditorHandle editor = CreateBandLevelEditor(BandEditorX, BandEditorY, BandEditorWidth, BandEditorHeight,
                                                        BandEditorPoints, White, Black);
  BandLevelEditorNumber = editor ? editor : -1;
  if (editor)
    for (auto [key, value] : BandEditorStartProperties) SetBandLevelEditorProperty(editor, key, value);
  for (const ControlEntry& entry : MainControls()) {
    ControlOptions options;
    options.label = std::string(entry.label);
    options.minimum = entry.minimum;
    options.maximum = entry.maximum;
    options.confinePointer = entry.confinePointer;
    if (UiCreateControl(MainWindow, entry.number, entry.kind, entry.x, entry.y, entry.width, entry.height,
                        options) < 0)
      continue;
    if (entry.startState >= 0) UiSetState(entry.number, entry.startState);
    if (entry.number == ColorButton) {
      if (ImageRef swatch = ImageHandle(SwatchImage)) UiSetButtonImage(ColorButton, *swatch);
    } else if (entry.number == DistributionPreview) {
      FillSurface(CanvasTarget(DistributionPreview), PreviewWidth, PreviewHeight, Black);
    } else if (entry.number == ClearButton) {
      UiSetState(BrushToggle, 1);
      UiSetCursor(PaintCanvas, CursorShape::CrossHair);
    }
  }
}

}  // namespace

bool StartUp() {
  if (!UiInitialise()) return false;
  SetCanvasHooks({UiCanvasPicture, UiRepaintCanvas});
  ResetGlobals();
  NewImage(SwatchImage, SwatchSize, SwatchSize);
  NewImage(CanvasImage, CanvasSize, CanvasSize);
  if (!UiOpenWindow(MainWindow, "Vellora", MainClientWidth, MainClientHeight)) return false;
  CreateMenuBar();
  CreateControls();
  FillSurface(CanvasTarget(PaintCanvas), CanvasSize, CanvasSize, Black);
  FillSurface(ImageTarget(SwatchImage), SwatchSize, SwatchSize, BrushColor);
  if (ImageRef swatch = ImageHandle(SwatchImage)) UiSetButtonImage(ColorButton, *swatch);
  QuitFlag = 0;
  return true;
}

void ShutDown() {
  UiShutdown();
  DropAllImages();
}

int RunVellora() {
  if (StartUp()) RunEventLoop();
  ShutDown();
  return 0;
}
