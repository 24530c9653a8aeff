// SPDX-License-Identifier: GPL-3.0-or-later
// The event loop: routes each event by window, kind, menu item and control number to its handler; the
// handlers of Repeat and the "Sound" group; the help window and the About message.
#include <array>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"

namespace {

void DispatchMenu(int item) {
  switch (item) {
    case ExitItem: QuitFlag = 1; break;
    case AboutItem: ShowAboutMessage(); break;
    case HelpItem: OpenHelpWindow(); break;
    case ExportSoundItem: RunExportSoundCommand(); break;
    case ImportSoundItem: RunImportSoundCommand(); break;
    case ImportMidiItem: RunImportMidiCommand(); break;
    case ExportMidiItem: RunExportMidiCommand(); break;
    default: break;
  }
}

void RunControlHandler(const UiEvent& event) {
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

void DispatchControl(const UiEvent& event) {
  // The pointer crossing a control's edge changes nothing but the readout: a slider's handler resets Repeat.
  if (event.type == ControlEventType::PointerEnter || event.type == ControlEventType::PointerLeave) {
    UpdateReadout(event);
    return;
  }
  RunControlHandler(event);
  UpdateReadout(event);  // after the handler, so a slider held back by the other one shows where it was left
}

}  // namespace

void HandleEvent(const UiEvent& event) {
  if (event.window == MainWindow) {
    EndKeptReadoutAtCommand(event);
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

void ResetRepeat() {
  UiSetState(RepeatCheckbox, 0);
  RepeatFlag = 0;
}

void HandleFrqFromSlider() {
  ResetRepeat();
  if (UiGetState(FrqFromSlider) > LastFrqTo) UiSetState(FrqFromSlider, LastFrqTo);
  LastFrqFrom = SynthSettings.FrqFrom = UiGetState(FrqFromSlider);
}

void HandleFrqToSlider() {
  ResetRepeat();
  if (UiGetState(FrqToSlider) < LastFrqFrom) UiSetState(FrqToSlider, LastFrqFrom);
  LastFrqTo = SynthSettings.FrqTo = UiGetState(FrqToSlider);
}

void HandleSampleRateSlider() {
  ResetRepeat();
  SynthSettings.SampleRate = UiGetState(SampleRateSlider);
  SynthSettings.SampleCount = ComputeSampleCount(SynthSettings.SampleRate, SynthSettings.Duration);
}

void HandleSoundDurationSlider() {
  ResetRepeat();
  SynthSettings.Duration = DurationFromMilliseconds(UiGetState(SoundDurationSlider));
  SynthSettings.SampleCount = ComputeSampleCount(SynthSettings.SampleRate, SynthSettings.Duration);
}

void HandleDistributionSlider(int control) {
  ResetRepeat();
  const float fraction = FractionFromPosition(UiGetState(control));
  switch (control) {
    case DistASlider: SynthSettings.DistA = fraction; break;
    case DistBSlider: SynthSettings.DistB = fraction; break;
    case DistCSlider: SynthSettings.DistC = fraction; break;
    case DistDSlider: SynthSettings.DistD = fraction; break;
    default: return;
  }
  DrawDistributionPreview();
}

void HandleDistributionCheckbox() {
  ResetRepeat();
  SynthSettings.FrqDistribution = UiGetState(DistributionCheckbox) ? 1 : 0;
  RefreshDistributionPreview();
}

namespace {

constexpr int HelpClientWidth = 638;
constexpr int HelpClientHeight = 265;
constexpr int HelpTextMargin = 5;
constexpr int HelpTextWidth = 628;
constexpr int HelpTextHeight = 250;

// Every piece starts a new line; all but the first end with a carriage return.
constexpr std::array<const char*, 17> HelpPieces = {
    "\nDraw in black canvas area, load an image or draw on a loaded image and press 'Synthesize' to hear image converted to sound",
    "\nYou can change various characteristics of the sound by means of the 'Sound' group of controls at the right of the application\r",
    "\n*Color Selector button: Square button above the Brush button launches a color selection palette for the Brush and Line tools\r",
    "\n*Line button: Click to paint lines on the black canvas area\r",
    "\n*Clear button: Click to completely erase your drawing or loaded image\r",
    "\n*Rotate button: Every Click of this button rotates the drawing or loaded image clockwise by 90 degrees\r",
    "\n*Synthesize button: Creates a sound from the image and then plays it while scanning across the image\r",
    "\n*Repeat: If you tick this checkbox and press Synthesize, the application will play the last synthesized sound\r",
    "\n*Save button: Allows you to save your image in .BMP (uncompressed image) format\r",
    "\n*Load button: Allows you to load your saved image, or any .BMP file, or any .JPG file into the application\r",
    "\n*Sound Duration slider: Sets the length of the synthesized sound - from under a second to about 12 seconds\r",
    "\n*Sample Rate slider: Sets resolution of the synthesized sound. A higher sound fidelity (resolution) takes longer to compute\r",
    "\n*Enable Frequency Distribution: Enables user-modifiable frequency distribution. If unticked, default distribution applies\r",
    "\n*Adjust Distribution sliders: Adjust to modify the frequency distribution curve. Curve appears in the window above the sliders\r",
    "\n*Frq From slider: Sets the From frequency of the frequency distribution (at the lowest point, a few tens of Hz)\r",
    "\n*Frq To slider: Sets the To frequency of the frequency distribution (at the highest point, around 10kHz)\r",
    "\n*Adjust Frequency Band Level: Adjust level in the final sound of each sinewave created from each pixel row\r",
};

// What the window has besides, in the same style.
constexpr std::array<const char*, 5> MoreHelpPieces = {
    "\n*Import Sound (File menu): Turns a sound file (WAV, FLAC, Ogg Vorbis, AIFF) into a picture that plays it back. A dialog shows the picture before it is drawn and lets you choose the scale (amplitude or decibels, with range and gain), the channel, where a long sound starts, how a tone between two rows is placed, and whether Frq From and Frq To are fitted to the sound\r",
    "\n*Import MIDI (File menu): Draws the notes of a MIDI file, each a stroke on the row heard nearest its pitch, from where it starts to where it ends, as bright as it is loud. A dialog shows the picture and lets you choose the tracks and channels (drums left out at first), whether Sound Duration becomes the piece's length or the piece is fitted into it, and whether the canvas is replaced or painted over; the readout line says which notes were left out or cut\r",
    "\n*Export MIDI (File menu): Saves the canvas as a MIDI file: each run of lit pixels along a row is a note at the row's nearest pitch, bent to the pitch the row plays at; a dialog sets the brightness below which a pixel is silence and shows the notes it gives\r",
    "\n*Export Sound (File menu): Saves the last synthesized sound, at the rate it was made with, as a WAV file (32-bit float) or a FLAC file (16-bit)\r",
    "\n*Readout line: The line under the canvas tells what is under the pointer: the time, row, pitch and nearest note over the canvas, the value of a slider, or the row and level over the band level curve\r",
};

}  // namespace

std::string BuildHelpText() {
  std::string text;
  for (const char* piece : HelpPieces) text += piece;
  for (const char* piece : MoreHelpPieces) text += piece;
  return text;
}

void OpenHelpWindow() {
  if (!UiOpenWindow(HelpWindow, "Vellora Help", HelpClientWidth, HelpClientHeight)) return;
  const int textBox = UiCreateControl(HelpWindow, -1, ControlKind::RichText, HelpTextMargin, HelpTextMargin,
                                      HelpTextWidth, HelpTextHeight);
  if (textBox < 0) return;
  UiSetText(textBox, BuildHelpText());
}

void ShowAboutMessage() { UiMessageBox("About Vellora", "Vellora 1.0\nPaint a picture and hear it."); }
