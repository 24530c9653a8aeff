// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers of the program's windows, controls, menu items and images, and the main window's controls
// with their places, texts and ranges.
#pragma once

#include <span>
#include <string_view>

#include "ui/ui.h"

enum WindowNumber : int {
  MainWindow = 0,
  HelpWindow = 1,
};
enum ControlNumber : int {
  PaintCanvas = 0,
  ColorButton = 1,
  BrushSizeSpin = 2,
  BrushToggle = 3,
  LineToggle = 4,
  ClearButton = 6,
  SynthesizeButton = 7,
  RepeatCheckbox = 8,
  FrqFromLabel = 9,
  FrqFromSlider = 10,
  FrqToLabel = 11,
  FrqToSlider = 12,
  DistributionCheckbox = 13,
  SampleRateLabel = 14,
  SampleRateSlider = 15,
  SoundDurationLabel = 16,
  SoundDurationSlider = 17,
  SaveButton = 18,
  LoadButton = 19,
  DistributionPreview = 20,
  DistASlider = 21,
  DistBSlider = 22,
  DistCSlider = 23,
  DistDSlider = 24,
  DistributionLabel = 25,
  BandLevelLabel = 26,
  RotateButton = 27,
  SoundFrame = 28,
  ReadoutLabel = 29,
};
enum MenuItemNumber : int {
  ExitItem = 1,
  AboutItem = 3,
  HelpItem = 4,
  ExportSoundItem = 5,
  ImportSoundItem = 6,
  ImportMidiItem = 7,
  ExportMidiItem = 8,
};
enum ImageNumber : int {
  CanvasImage = 0,
  SwatchImage = 1,
};

constexpr int SwatchSize = 35;

struct ControlEntry {
  int number;
  ControlKind kind;
  int x, y, width, height;
  std::string_view label;
  int minimum, maximum;
  int startState;  // -1 when the control has no state of its own to set
  bool confinePointer;
  int setting = -1;  // the sound setting the control shows, -1 for none
};

// The controls of the main window in creation order (the band level editor, created first, is not listed).
std::span<const ControlEntry> MainControls();
// The entry of a control number, nullptr when it is not in the table.
const ControlEntry* FindControlEntry(int number);
// The control that shows a sound setting, -1 for none.
int SettingControl(int setting);
