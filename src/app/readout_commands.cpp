// SPDX-License-Identifier: GPL-3.0-or-later
// The readout line under the canvas: what lies under the pointer on the canvas or the band level editor, and
// the value of the slider being moved or pointed at, always from the settings of the moment.
#include <algorithm>
#include <cmath>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "sound/readout_text.h"

namespace {

bool IsSettingSlider(const ControlEntry* entry) {
  return entry && entry->setting >= 0 &&
         (entry->kind == ControlKind::HorizontalSlider || entry->kind == ControlKind::VerticalSlider);
}

void ShowCanvasReadout(int x, int y) {
  if (x < 0 || y < 0 || x >= CanvasSize || y >= CanvasSize) return ShowReadout("");
  ShowReadout(CanvasReadoutText(x, y, SynthSettings));
}

// The level synthesis gives the row under the pointer, and the curve's there while the curve is not in use.
void ShowBandReadout(int x) {
  const BandLevelEditor* editor = FindBandLevelEditor(BandLevelEditorNumber);
  if (!editor || editor->width < 1) return ShowReadout("");
  // Like the editor itself, a pointer off the control counts at its border.
  const int row = static_cast<int>(std::lround(BandValueX(*editor, std::clamp(x, 0, editor->width - 1))));
  const std::optional<double> curve = BandLevelOf(*editor, true, row);
  ShowReadout(BandReadoutText(row, BandLevel(row), SynthSettings.BandCurveEdited == 1 ? std::nullopt : curve));
}

}  // namespace

void ShowReadout(const std::string& text) { UiSetText(ReadoutLabel, text); }

void ShowReadoutUntilNextCommand(const std::string& text) {
  ShowReadout(text);
  ReadoutKept = true;
}

void EndKeptReadoutAtCommand(const UiEvent& event) {
  const bool command = event.kind == EventKind::Menu ||
                       (event.kind == EventKind::Control && (event.type == ControlEventType::Activated ||
                                                             event.type == ControlEventType::LeftButtonDown));
  if (command) ReadoutKept = false;
}

void UpdateReadout(const UiEvent& event) {
  if (ReadoutKept) return;
  const bool leaving = event.type == ControlEventType::PointerLeave;
  if (event.control == PaintCanvas) {
    leaving ? ShowReadout("") : ShowCanvasReadout(event.x, event.y);
  } else if (BandLevelEditorNumber >= 0 && event.control == BandLevelEditorNumber) {
    leaving ? ShowReadout("") : ShowBandReadout(event.x);
  } else if (const ControlEntry* entry = FindControlEntry(event.control); IsSettingSlider(entry)) {
    const auto setting = static_cast<SoundSetting>(entry->setting);
    ShowReadout(leaving ? "" : SliderReadoutText(setting, UiGetState(event.control)));
  }
}
