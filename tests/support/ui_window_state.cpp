// SPDX-License-Identifier: GPL-3.0-or-later
// The program's state by name, the main window's control table and the models of the preview and the band editor.
#include "support/ui_window_state.h"

#include <QApplication>
#include <cmath>
#include <string_view>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "picture/surface.h"
#include "support/raster_models.h"
#include "ui/ui_qt.h"

const std::vector<WindowControl> WindowControls = {
    {0, "PaintCanvas", "canvas", 10, 10, 380, 380, "", 0, 0, -1},
    {20, "DistributionPreview", "canvas", 530, 115, 160, 70, "", 0, 0, -1},
    {28, "SoundFrame", "frame", 505, 2, 205, 390, "Sound", 0, 0, -1},
    {3, "BrushToggle", "toggle", 400, 70, 50, 25, "Brush", 0, 0, 1},
    {2, "BrushSizeSpin", "spin", 460, 70, 30, 25, "8", 1, 11, 8},
    {1, "ColorButton", "image", 400, 10, 50, 50, "", 0, 0, -1},
    {4, "LineToggle", "toggle", 400, 100, 50, 25, "Line", 0, 0, 0},
    {6, "ClearButton", "button", 400, 130, 50, 25, "Clear", 0, 0, -1},
    {27, "RotateButton", "button", 400, 160, 50, 25, "Rotate", 0, 0, -1},
    {7, "SynthesizeButton", "button", 400, 215, 70, 40, "Synthesize", 0, 0, -1},
    {8, "RepeatCheckbox", "checkbox", 410, 265, 60, 20, "Repeat", 0, 0, 0},
    {9, "FrqFromLabel", "label", 620, 195, 50, 20, "Frq From", 0, 0, -1},
    {10, "FrqFromSlider", "vslider", 640, 210, 20, 80, "", 70, 1500, 90},
    {11, "FrqToLabel", "label", 670, 195, 50, 20, "Frq To", 0, 0, -1},
    {12, "FrqToSlider", "vslider", 680, 210, 20, 80, "", 70, 9000, 9000},
    {13, "DistributionCheckbox", "checkbox", 530, 90, 170, 20, "Enable Frequency Distribution", 0, 0, 0},
    {14, "SampleRateLabel", "label", 560, 55, 100, 20, "Sample Rate", 0, 0, -1},
    {15, "SampleRateSlider", "hslider", 510, 70, 180, 20, "", 2000, 22050, 3000},
    {16, "SoundDurationLabel", "label", 560, 15, 100, 20, "Sound Duration", 0, 0, -1},
    {17, "SoundDurationSlider", "hslider", 510, 30, 180, 20, "", 1000, 15000, 5000},
    {18, "SaveButton", "button", 400, 320, 50, 20, "Save", 0, 0, -1},
    {19, "LoadButton", "button", 400, 350, 50, 20, "Load", 0, 0, -1},
    {21, "DistASlider", "vslider", 530, 210, 20, 80, "", 1, 99, 50},
    {22, "DistBSlider", "vslider", 550, 210, 20, 80, "", 1, 99, 5},
    {23, "DistCSlider", "vslider", 570, 210, 20, 80, "", 1, 99, 75},
    {24, "DistDSlider", "vslider", 590, 210, 20, 80, "", 1, 99, 75},
    {25, "DistributionLabel", "label", 525, 195, 90, 20, "Adjust Distribution", 0, 0, -1},
    {26, "BandLevelLabel", "label", 540, 290, 150, 20, "Adjust Frequency Band Level", 0, 0, -1},
};

std::string NameOf(int control) {
  for (const WindowControl& c : WindowControls)
    if (c.number == control) return c.name;
  return "control " + std::to_string(control);
}

std::string Shown(const Raster& picture) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the pixel values
  for (Colour pixel : picture.pixels) hash = (hash ^ pixel) * 1099511628211ull;
  return std::to_string(picture.width) + "x" + std::to_string(picture.height) + "#" + std::to_string(hash);
}

std::string Shown(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string Shown(const std::vector<BandPoint>& points) {
  std::string text;
  for (const BandPoint& p : points) text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return text;
}

WindowState TakeWindowState() {
  const SynthSettingsRecord& s = SynthSettings;
  auto n = [](auto value) { return std::to_string(value); };
  const std::string_view samples(reinterpret_cast<const char*>(SoundBuffer.data()), SoundBuffer.size() * sizeof(float));
  const QImage face = UiWidget(ColorButton)->grab().toImage();
  int helpWindows = 0;
  for (QWidget* window : QApplication::topLevelWidgets())
    helpWindows += window->isVisible() && window->windowTitle() == "Vellora Help";
  WindowState state = {
      {"SampleRate", n(s.SampleRate)}, {"Duration", Shown(s.Duration)}, {"SampleCount", n(s.SampleCount)},
      {"FrqFrom", n(s.FrqFrom)}, {"FrqTo", n(s.FrqTo)}, {"FrqDistribution", n(s.FrqDistribution)},
      {"DistA", Shown(s.DistA)}, {"DistB", Shown(s.DistB)}, {"DistC", Shown(s.DistC)}, {"DistD", Shown(s.DistD)},
      {"BandCurveEdited", n(s.BandCurveEdited)}, {"PhaseFactor", n(s.PhaseFactor)}, {"BrushColor", n(BrushColor)},
      {"Tool", n(Tool)}, {"LineStartX", n(LineStartX)}, {"LineStartY", n(LineStartY)}, {"LastFrqFrom", n(LastFrqFrom)},
      {"LastFrqTo", n(LastFrqTo)}, {"RepeatFlag", n(RepeatFlag)}, {"QuitFlag", n(QuitFlag)},
      {"SoundBuffer", n(SoundBuffer.size()) + "#" + n(std::hash<std::string_view>{}(samples))},
      {"CanvasImage", Shown(*ImageHandle(CanvasImage))}, {"SwatchImage", Shown(*ImageHandle(SwatchImage))},
      {"ColorButtonFace", face.pixelColor(face.rect().center()).name().toStdString()},
      {"BandPoints", Shown(FindBandLevelEditor(BandLevelEditorNumber)->points)},
      {"BandLevelEditor", Shown(*CanvasPicture(BandLevelEditorNumber))}, {"HelpWindows", n(helpWindows)}};
  for (const WindowControl& c : WindowControls)  // a canvas by its picture, a control with a state by its state
    if (c.start >= 0 || std::string_view(c.kind) == "canvas")
      state[c.name] = c.start >= 0 ? n(UiGetState(c.number)) : Shown(*CanvasPicture(c.number));
  return state;
}

std::string StateDifferences(const WindowState& expected, const WindowState& actual) {
  std::string differences;
  for (const auto& [key, value] : actual) {
    const auto found = expected.find(key);
    const std::string want = found == expected.end() ? "(nothing)" : found->second;
    const std::size_t fixed = !want.empty() && want.back() == '*' ? want.size() - 1 : std::string::npos;
    if (value.compare(0, fixed, want, 0, fixed) != 0) differences += key + ": expected " + want + ", is " + value + "\n";
  }
  return differences;
}

Raster PreviewModel(double a, double b, double c, double d) {
  auto bezier = [](double p1, double p2, double t) { return 3 * t * (1 - t) * ((1 - t) * p1 + t * p2) + t * t * t; };
  int rows[160];
  for (int i = 0; i < 160; ++i) {
    double low = 0, high = 1;
    for (int k = 0; k < 60; ++k) (bezier(a, c, (low + high) / 2) < i / 160.0 ? low : high) = (low + high) / 2;
    rows[i] = static_cast<int>(std::nearbyint(70 - std::min(70.0, 70 * bezier(b, d, low))));
  }
  Raster preview(160, 70);
  for (int i = 0; i + 1 < 160; ++i)
    for (auto [x, y] : raster_models::LinePixels(160, 70, i, rows[i], i + 1, rows[i + 1])) preview.At(x, y) = White;
  return preview;
}

Raster BandEditorModel(const std::vector<BandPoint>& points) {
  Raster editor(160, 70);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const BandPoint& next = points[std::min(i + 1, points.size() - 1)];
    raster_models::AddDisc(editor, points[i].x, points[i].y, 3, White);
    for (auto [x, y] : raster_models::LinePixels(160, 70, points[i].x, points[i].y, next.x, next.y))
      editor.At(x, y) = White;
  }
  return editor;
}
