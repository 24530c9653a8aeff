// Routes each event by window, kind, menu item and control number to the handler that owns it.
#include "app/event_loop.h"

#include "app/control_ids.h"
#include "app/help_window.h"
#include "app/repeat.h"
#include "app/settings.h"
#include "app/sound_controls.h"
#include "distribution/band_level_editor.h"
#include "picture/canvas_tools.h"
#include "picture/image_file_commands.h"
#include "picture/rotate.h"
#include "sound/export_sound_command.h"
#include "sound/synthesize_command.h"

namespace {

void DispatchMenu(int item) {
  switch (item) {
    case ExitItem: QuitFlag = 1; break;
    case AboutItem: ShowAboutMessage(); break;
    case HelpItem: OpenHelpWindow(); break;
    case ExportSoundItem: RunExportSoundCommand(); break;
    default: break;
  }
}

void DispatchControl(const UiEvent& event) {
  if (BandLevelEditorNumber >= 0 && event.control == BandLevelEditorNumber) {
    if (HandleBandLevelEditorEvent(BandLevelEditorNumber) == 1) {
      ResetRepeat();
      SynthSettings.BandCurveEdited = 1;
    }
    return;
  }
  switch (event.control) {
    case PaintCanvas: HandleCanvasEvent(event.type, event.x, event.y, event.buttons); break;
    case ColorButton: HandleColorButton(); break;
    case BrushToggle:
    case LineToggle: HandleToolToggle(event.control); break;
    case ClearButton: HandleClearButton(); break;
    case SynthesizeButton: RunSynthesizeCommand(); break;
    case RepeatCheckbox: RepeatFlag = UiGetState(RepeatCheckbox) ? 1 : 0; break;
    case FrqFromSlider: HandleFrqFromSlider(); break;
    case FrqToSlider: HandleFrqToSlider(); break;
    case SampleRateSlider: HandleSampleRateSlider(); break;
    case SoundDurationSlider: HandleSoundDurationSlider(); break;
    case DistASlider:
    case DistBSlider:
    case DistCSlider:
    case DistDSlider: HandleDistributionSlider(event.control); break;
    case DistributionCheckbox: HandleDistributionCheckbox(); break;
    case RotateButton:
      ResetRepeat();
      Rotate();
      break;
    case SaveButton: RunSaveCommand(); break;
    case LoadButton: RunLoadCommand(); break;
    default: break;  // the spin box, the preview, labels and the frame do nothing
  }
}

}  // namespace

void HandleEvent(const UiEvent& event) {
  if (event.window == MainWindow) {
    switch (event.kind) {
      case EventKind::Menu: DispatchMenu(event.menuItem); break;
      case EventKind::Control: DispatchControl(event); break;
      case EventKind::Close: QuitFlag = 1; break;
      default: break;
    }
  } else if (event.window == HelpWindow && event.kind == EventKind::Close) {
    UiCloseWindow(HelpWindow);
  }
}

void RunEventLoop() {
  UiEvent event;
  while (QuitFlag == 0 && UiWaitEvent(event)) HandleEvent(event);
}

int HandlePendingEvents() {
  int handled = 0;
  UiEvent event;
  while (QuitFlag == 0 && UiPollEvent(event)) {
    HandleEvent(event);
    ++handled;
  }
  return handled;
}
