// SPDX-License-Identifier: GPL-3.0-or-later
// The windowing layer: numbered windows, menus, controls, events and dialogs behind plain functions.
// Nothing outside src/ui sees the toolkit; everything runs on the main thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "picture/raster.h"
#include "sound/midi_picture.h"

enum class ControlKind {
  Canvas,            // drawing surface with a picture of its own, created white; reports mouse events
  Button,            // push button, reports each click
  ToggleButton,      // flips pressed/released on each click; state 1 = pressed
  ImageButton,       // push button showing an image centred on its face
  Checkbox,          // state 1 = ticked
  SpinBox,           // integer min..max, arrows and arrow keys step it, no typing
  HorizontalSlider,  // integer min..max
  VerticalSlider,    // integer min..max, maximum at the top
  Label,             // fixed left-aligned text
  GroupFrame,        // titled rectangle, reports nothing, takes no input
  RichText,          // read-only multi-line text box with both scroll bars
};

enum class EventKind { None, Menu, Control, Close, Other };

// Control event types; canvases report the mouse ones, other controls report Activated. Sliders also report
// PointerEnter and PointerLeave as the pointer comes onto and goes off them, canvases PointerLeave; these two
// carry no position and no buttons.
enum class ControlEventType {
  Activated, LeftButtonDown, LeftButtonUp, MouseMove, OtherMouse, PointerEnter, PointerLeave
};

enum class CursorShape { Arrow, CrossHair, PointingHand };

constexpr int LeftButtonBit = 1;
constexpr int RightButtonBit = 2;
constexpr int MiddleButtonBit = 4;

// One event as the loop sees it. For canvas events x, y are relative to the canvas and, while a
// button is held after a press on a confining canvas, clamped to it; buttons holds the bits above.
struct UiEvent {
  EventKind kind = EventKind::None;
  int window = -1;
  int menuItem = 0;
  int control = -1;
  ControlEventType type = ControlEventType::Activated;
  int x = 0;
  int y = 0;
  int buttons = 0;
};

struct ControlOptions {
  std::string label;       // button text, label text, frame title; ignored by canvases
  int minimum = 0;         // sliders and spin boxes
  int maximum = 0;
  bool confinePointer = false;  // canvases: capture and keep the pointer inside while a button is held
};

// Starts the toolkit once (later calls do nothing); when no display can be opened it says which on standard
// error in one line and returns false, or ends the process with status 0 if the toolkit found that out itself.
bool UiInitialise();
// Closes every window and frees every control (at exit).
void UiShutdown();

// Opens a top-level window with a fixed client area, centred, with a close box and no resizing;
// an open window of that number is closed first. False on failure.
bool UiOpenWindow(int window, const std::string& title, int clientWidth, int clientHeight);
// Closes the window and frees its controls; an unknown number is ignored.
void UiCloseWindow(int window);
bool UiWindowIsOpen(int window);

// Gives the window a menu bar; false on failure.
bool UiCreateMenuBar(int window);
// Adds a menu title; the items added next go under it. False without a menu bar.
bool UiAddMenu(int window, const std::string& title);
// Adds a numbered item to the last menu title. False without one.
bool UiAddMenuItem(int window, int item, const std::string& text);

// Creates a control on the window at (x, y) in client coordinates; number -1 picks a free number
// of 1000 and above. Returns the control's number, -1 on failure. Tab order is creation order.
int UiCreateControl(int window, int number, ControlKind kind, int x, int y, int width, int height,
                    const ControlOptions& options = {});
bool UiControlExists(int control);

// State: toggles and checkboxes 0/1, sliders and spin boxes their value (kept within range).
// Setting a state or a text never reports an event.
int UiGetState(int control);
void UiSetState(int control, int value);
void UiSetText(int control, const std::string& text);
std::string UiGetText(int control);

// A canvas control's picture, nullptr for anything else; UiRepaintCanvas shows it before returning.
// From another thread (while the main thread leaves the controls alone) UiRepaintCanvas hands the
// picture as it is to the main thread, which shows it the next time it lets the toolkit run.
Raster* UiCanvasPicture(int control);
void UiRepaintCanvas(int control);
void UiSetCursor(int control, CursorShape shape);
// Shows a copy of the image on an image button's face and repaints it.
void UiSetButtonImage(int control, const Raster& image);

// Blocks until the next event; false when the toolkit is gone or no window is open to report one.
bool UiWaitEvent(UiEvent& event);
// Takes the next event if one is waiting (after letting the toolkit deliver what it has); false if none.
bool UiPollEvent(UiEvent& event);
// The event last returned by UiWaitEvent or UiPollEvent.
const UiEvent& UiCurrentEvent();
// Lets windows repaint without acting on user input; input that arrives is kept, in order, for later.
void UiProcessPaintOnly();

struct FileChoice {
  std::string path;      // empty after a cancel
  int filterIndex = -1;  // index of the filter chosen, -1 after a cancel
};
// Modal open or save dialog owned by the main window. filters is "Label|pattern|Label|pattern...";
// the first filter is preselected. Either mode takes any name in a folder that exists, whether or not the file
// does; save mode does not ask before overwriting. Showing a folder reads no file's contents.
FileChoice UiFileDialog(bool save, const std::string& title, const std::string& filters);
// Modal colour chooser with the colour preselected; the chosen 0x00BBGGRR value, or -1 on cancel.
std::int64_t UiChooseColour(Colour initial);
// Modal message box with one OK button; every other window of the program is disabled meanwhile. An empty title
// is shown empty, also by an X11 window manager.
void UiMessageBox(const std::string& title, const std::string& text);

// What the Import dialog offers for one sound file.
struct ImportSoundFacts {
  std::string name;          // the file's name, shown above the choices
  double seconds = 0.0;      // how long the whole file lasts
  std::int32_t sampleRate = 0;
  int channels = 0;          // more than 1 offers the choice of one channel
  int latestStartMs = 0;     // more than 0 offers where the stretch begins, 0 .. latestStartMs
};

// The Import dialog's choices.
struct ImportChoice {
  bool decibels = false;    // brightness by decibels instead of amplitude (what plays back as the sound)
  int rangeDb = 60;         // the decibel scale's range
  int gainDb = 0;           // raises (or lowers) every level
  int channel = 0;          // 0 the mix, 1 .. channels that channel alone
  int startMs = 0;          // where the stretch begins in the file
  bool nearestRow = false;  // a tone between two rows wholly on the nearer one instead of shared
  bool fitRange = false;    // Frq From and Frq To fitted to where the sound has its energy
  bool operator==(const ImportChoice&) const = default;
};

// What the sound gives under one choice: the picture as it will land on the canvas and what to know about it.
struct ImportPreview {
  Raster picture;                  // 380 x 380
  std::vector<std::string> notes;  // one sentence each
  int frqFrom = 0;                 // the Frq From and Frq To the picture is measured with
  int frqTo = 0;
  std::string error;               // why there is no picture (the stretch or channel could not be read); empty when there is
};
using ImportPreviewMaker = std::function<ImportPreview(const ImportChoice&)>;

// Modal Import dialog owned by the main window: the picture and notes makePreview gives for the choices, made
// again whenever one changes; true on OK with choice set to what was chosen, false on Cancel with choice untouched.
// makePreview runs on a thread of its own, one call at a time, all of them over before the dialog returns: it must
// not touch the program's state or controls.
bool UiImportDialog(const ImportSoundFacts& sound, ImportChoice& choice, const ImportPreviewMaker& makePreview);

// What the Import MIDI dialog offers for one MIDI file.
struct MidiFileFacts {
  std::string name;                               // the file's name, shown above the choices
  double seconds = 0.0;                           // from its start to the end of its last note
  std::vector<std::string> tracks;                // one label per track: its number, name and notes
  std::array<std::size_t, MidiChannels> channelNotes{};  // the notes on each channel
};
// What the notes give under one choice: the picture as it will land on the canvas and what to know about it.
struct MidiPreview {
  Raster picture;
  std::string text;  // the notes drawn, left out and cut, and the duration they play over
};
using MidiPreviewMaker = std::function<MidiPreview(const NoteChoice&)>;
// Modal Import MIDI dialog owned by the main window: tracks, channels, time and canvas choices beside the picture
// makePreview gives for them, made again (on the main thread: it is quick) whenever one changes; true on OK with
// choice set to what was chosen, false on Cancel with choice untouched.
bool UiMidiImportDialog(const MidiFileFacts& file, NoteChoice& choice, const MidiPreviewMaker& makePreview);
// Modal Export MIDI dialog: the brightness below which a pixel is silence, with the text count gives for it (the
// notes it yields); true on OK with silenceBelow set, false on Cancel with it untouched.
bool UiMidiExportDialog(int& silenceBelow, const std::function<std::string(int)>& count);
