// SPDX-License-Identifier: GPL-3.0-or-later
// The program's commands: every handler the event loop runs, and the named operations over the
// program's state and controls, grouped by the subsystem they belong to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "distribution/band_editor.h"
#include "ui/ui.h"

// Shell (event_loop.cpp): dispatch, Repeat, the "Sound" group's handlers, Help and About.
// Waits for events and handles each to completion until QuitFlag is set or the toolkit is gone.
void RunEventLoop();
// Handles one event: menu items, controls and close boxes of the main and help windows.
void HandleEvent(const UiEvent& event);
// Handles every event already waiting, without blocking; returns how many there were.
int HandlePendingEvents();
// Unticks RepeatCheckbox (without reporting an event) and clears RepeatFlag.
void ResetRepeat();
// From is held at or below To; sets FrqFrom and LastFrqFrom.
void HandleFrqFromSlider();
// To is held at or above From; sets FrqTo and LastFrqTo.
void HandleFrqToSlider();
// Sets SampleRate, or Duration, and recomputes SampleCount.
void HandleSampleRateSlider();
void HandleSoundDurationSlider();
// One of the four "Adjust Distribution" sliders: sets its fraction and redraws the preview.
void HandleDistributionSlider(int control);
// Sets FrqDistribution; draws the curve when ticked, blacks the preview when unticked.
void HandleDistributionCheckbox();
// The help text: an empty first line, then one line for each piece, in order: the controls', then Import Sound,
// Import MIDI, Export MIDI, Export Sound and the readout line.
std::string BuildHelpText();
// Opens the help window (replacing an open one) with the help text; a window that cannot open is dropped.
void OpenHelpWindow();
// Shows the modal About message and returns when it is dismissed.
void ShowAboutMessage();

// Start-up (main_window.cpp).
// Globals, images, the main window with its menu and controls, blank surfaces; false when the main window
// cannot be opened (nothing else is created then).
bool StartUp();
// Releases every window, control and image.
void ShutDown();
// The whole run: start-up, the event loop until Exit or the close box, shut-down. Returns 0.
int RunVellora();

// Picture (picture_commands.cpp): painting, Rotate, Save, Load and the settings file over the controls.
// A mouse event on the canvas: a left press snapshots and paints, a move with the left button held paints.
void HandleCanvasEvent(ControlEventType type, int x, int y, int buttons);
// Paints with the current tool at (x, y) for a press or a move.
void PaintAt(int x, int y, ControlEventType type);
// Makes the clicked tool toggle the pressed one and the other released; sets Tool.
void HandleToolToggle(int control);
// Lets the user choose the brush colour; the swatch follows. A cancel changes nothing.
void HandleColorButton();
// Turns the whole canvas black.
void HandleClearButton();
// Turns the canvas picture a quarter clockwise in place.
void Rotate();
// SaveButton: asks for a name, writes the canvas picture as a 24-bit bitmap (whatever the filter), then the
// settings file; either failure is reported in a message box. A cancel does nothing.
void RunSaveCommand();
// LoadButton: asks for a file, resets Repeat, shows the picture stretched to the canvas if it can be read,
// then takes the settings file beside it. A cancel does nothing.
void RunLoadCommand();
// Writes the sound controls and the band points into imageName + ".vlr"; false when that failed.
bool WriteSettingsFile(const std::string& imageName);
// Reads imageName + ".vlr" if it exists into the controls, SynthSettings, the preview and the band curve.
void ReadSettingsFile(const std::string& imageName);

// Frequency distribution (distribution_commands.cpp): the band level editor control and the preview.
// The handle of an editor is its drawing control's number; 0 is never a valid handle.
using BandEditorHandle = int;
// Creates the drawing control in the main window and the record, places the points and draws them.
// Returns the handle, 0 when the control cannot be created.
BandEditorHandle CreateBandLevelEditor(int x, int y, int width, int height, int pointCount, Colour foreground,
                                       Colour background);
// Sets property key and redraws.
void SetBandLevelEditorProperty(BandEditorHandle handle, int key, std::int32_t value);
// Draws the whole control: background, a marker on each point and the lines joining them.
void DrawBandLevelEditor(BandEditorHandle handle);
// Handles the current event of the editor's control; 1 when a release ends the holding of a point.
int HandleBandLevelEditorEvent(BandEditorHandle handle);
// The curve's Y value at the integer X value x; 0 outside 0..R or for an unknown handle.
int EvaluateBandCurve(BandEditorHandle handle, int x);
// Fills points with the editor's points in stored units; 1 on success, 0 for an unknown handle.
int ExportBandPoints(BandEditorHandle handle, std::vector<StoredBandPoint>& points);
// Takes the points in stored units (other counts leave the points as they are) and redraws.
void ImportBandPoints(BandEditorHandle handle, const std::vector<StoredBandPoint>& points);
// The level of picture row for synthesis: the curve / 10000 once BandCurveEdited is 1, else 0.5.
float BandLevel(int row);
// The record behind a handle, nullptr for an unknown handle.
BandLevelEditor* FindBandLevelEditor(BandEditorHandle handle);
// Draws the curve for SynthSettings' fractions into DistributionPreview; nothing while the box is unticked.
void DrawDistributionPreview();
// Shows the state of the distribution box: the curve while it is ticked, black while it is not.
void RefreshDistributionPreview();

// Readout (readout_commands.cpp): the line under the canvas telling what lies under the pointer.
// Shows text on the readout line; empty text clears it.
void ShowReadout(const std::string& text);
// Shows text on the readout line and keeps it there, whatever the pointer points at, until the next command.
void ShowReadoutUntilNextCommand(const std::string& text);
// Before an event is handled: a command (a menu item, a click, a slider or box changed, a press) ends a kept text.
void EndKeptReadoutAtCommand(const UiEvent& event);
// For an event of the canvas, the band level editor or a slider: shows what is under the pointer, or the
// slider's value and unit, from the settings of the moment; clears the line when the pointer leaves them.
void UpdateReadout(const UiEvent& event);

// Sound (sound_commands.cpp): Synthesize with its wait and cursor, and Export.
// Copies PaintCanvas into a fresh CanvasImage, synthesises unless RepeatFlag is 1 and a sound exists, plays.
void RunSynthesizeCommand();
// Rebuilds RowFrequency, RowLevel and PixelLevel from SynthSettings, the band curve and PaintCanvas.
void PrepareSynthesis();
// Fills SoundBuffer (SampleCount + 1 samples) from the tables and SynthSettings, then normalises it.
void RenderSound();
// Scales SoundBuffer in place so its largest magnitude is 1.0.
void NormalizeSound();
// Plays SoundBuffer once at the SampleRate setting while the cursor sweeps PaintCanvas, then restores the
// picture; an audio failure shows the library's text in a message box.
void PlaySoundBuffer();
// Paints CanvasImage over PaintCanvas and, when x < 380, a white line from (x, 0) down through the bottom.
void DrawScanCursor(std::int32_t x);
// Paints CanvasImage over PaintCanvas, taking away any cursor line.
void RestoreCanvasPicture();
// "Export Sound...": writes the last sound played, at the rate it was played at, as WAV or FLAC; before any sound
// exists it says so instead.
void RunExportSoundCommand();

// Import (import_commands.cpp).
// "Import Sound...": asks for a sound file, then shows the Import dialog with the picture of the sound under its
// choices; OK draws that picture on the canvas as Load draws one and sets Sound Duration and Sample Rate (and
// Frq From and Frq To when fitted) through their handlers, so that it plays back at its own pace; Cancel changes
// nothing. A file that cannot be read changes nothing but says why in a message box.
void RunImportSoundCommand();

// MIDI (midi_commands.cpp).
// "Import MIDI...": asks for a MIDI file, then shows the Import MIDI dialog with the picture of its notes under the
// tracks, channels, time and canvas chosen; OK draws that picture on the canvas, unticks Repeat and, unless the
// piece is fitted into it, sets Sound Duration to the piece's length through its handler; Cancel changes nothing. A
// file that cannot be read changes nothing but says why in a message box.
void RunImportMidiCommand();
// "Export MIDI...": asks for the silence threshold (showing the notes it gives), then for the file, and writes the
// canvas's notes under the current mapping and duration; the readout line says what was written.
void RunExportMidiCommand();
