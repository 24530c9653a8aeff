// The layout of the main window: the 380x380 canvas on the left, the tools in the middle, the "Sound" group on the right.
#include "app/control_table.h"

#include <array>

#include "app/control_ids.h"

namespace {

using K = ControlKind;
constexpr int NoState = -1;

constexpr std::array<ControlEntry, 28> Controls = {{
    {PaintCanvas, K::Canvas, 10, 10, 380, 380, "", 0, 0, NoState, true},
    {DistributionPreview, K::Canvas, 530, 115, 160, 70, "", 0, 0, NoState, true},
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
    {FrqFromSlider, K::VerticalSlider, 640, 210, 20, 80, "", 70, 1500, 90, false},
    {FrqToLabel, K::Label, 670, 195, 50, 20, "Frq To", 0, 0, NoState, false},
    {FrqToSlider, K::VerticalSlider, 680, 210, 20, 80, "", 70, 9000, 9000, false},
    {DistributionCheckbox, K::Checkbox, 530, 90, 170, 20, "Enable Frequency Distribution", 0, 0, 0, false},
    {SampleRateLabel, K::Label, 560, 55, 100, 20, "Sample Rate", 0, 0, NoState, false},
    {SampleRateSlider, K::HorizontalSlider, 510, 70, 180, 20, "", 2000, 22050, 3000, false},
    {SoundDurationLabel, K::Label, 560, 15, 100, 20, "Sound Duration", 0, 0, NoState, false},
    {SoundDurationSlider, K::HorizontalSlider, 510, 30, 180, 20, "", 1000, 15000, 5000, false},
    {SaveButton, K::Button, 400, 320, 50, 20, "Save", 0, 0, NoState, false},
    {LoadButton, K::Button, 400, 350, 50, 20, "Load", 0, 0, NoState, false},
    {DistASlider, K::VerticalSlider, 530, 210, 20, 80, "", 1, 99, 50, false},
    {DistBSlider, K::VerticalSlider, 550, 210, 20, 80, "", 1, 99, 5, false},
    {DistCSlider, K::VerticalSlider, 570, 210, 20, 80, "", 1, 99, 75, false},
    {DistDSlider, K::VerticalSlider, 590, 210, 20, 80, "", 1, 99, 75, false},
    {DistributionLabel, K::Label, 525, 195, 90, 20, "Adjust Distribution", 0, 0, NoState, false},
    {BandLevelLabel, K::Label, 540, 290, 150, 20, "Adjust Frequency Band Level", 0, 0, NoState, false},
}};

}  // namespace

std::span<const ControlEntry> MainControls() { return Controls; }

const ControlEntry* FindControlEntry(int number) {
  for (const ControlEntry& entry : Controls)
    if (entry.number == number) return &entry;
  return nullptr;
}
