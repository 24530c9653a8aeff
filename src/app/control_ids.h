// The numbers of the program's windows, controls, menu items and images, in one place.
#pragma once

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
};

enum MenuItemNumber : int {
  ExitItem = 1,
  AboutItem = 3,
  HelpItem = 4,
  ExportSoundItem = 5,
};

enum ImageNumber : int {
  CanvasImage = 0,
  SwatchImage = 1,
};

// Sizes the rest of the program is laid out around.
constexpr int CanvasSize = 380;
constexpr int SwatchSize = 35;
constexpr int PreviewWidth = 160;
constexpr int PreviewHeight = 70;
