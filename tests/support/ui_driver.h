// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real windows in tests as a user would: the toolkit's test input on the window under the pointer,
// then the program's own dispatch. Every press needs its release: the toolkit remembers held buttons.
#pragma once

#include <gtest/gtest.h>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "ui/ui_qt.h"

// A started program for each test, shut down afterwards.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(StartUp()); }
  void TearDown() override { ShutDown(); }
};

enum class MouseStep { Press, Move, Release, DoubleClick };  // a double click: two presses and releases
// One mouse step at a point relative to the control (it may lie outside it); nothing is handled yet.
void MouseOn(int control, MouseStep step, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Lets the toolkit deliver what it has, then the program handles every waiting event.
void Pump();
// User actions on the started program, each followed by Pump().
void Drag(int control, const std::vector<QPoint>& path);  // press at the first point, release at the last
void Click(int control);
void SetByUser(int control, int value);  // a slider or spin box moved by the user
void Menu(const char* title, const char* item);

// Answers for the next dialog of the kind, arranged before the action that opens it.
void WhenModalAppears(const char* kindOrName, std::function<void(QWidget*)> action);  // a class or an object name
void AnswerFileDialog(const std::string& path, std::function<void()> afterAccept = {});  // typed, accepted
void AnswerColourDialog(std::optional<Colour> colour);  // none cancels
void DismissMessageBox(std::string* title, std::string* text);
// Sets the Import dialog's choices as a user would (none: as it starts), lets its preview catch up, takes the picture
// and notes it shows, then presses Enter (accept) or Escape.
void AnswerImportDialog(const std::optional<ImportChoice>& choice, bool accept, QImage* preview = nullptr, QString* notes = nullptr);

// The next Import MIDI dialog: the tracks, channels, time and canvas chosen (none: as it starts), then OK or Cancel;
// the picture and text it showed for them are kept where asked.
void AnswerMidiImportDialog(const std::optional<NoteChoice>& choice, bool accept, QImage* preview = nullptr, QString* text = nullptr);
// The next Export MIDI dialog: the silence threshold, then OK or Cancel; the text it showed is kept where asked.
void AnswerMidiExportDialog(int silenceBelow, bool accept, QString* text = nullptr);
// Every event the windowing layer reports until it has nothing more, oldest first, none handled.
std::vector<UiEvent> PumpEvents();
const Raster& CanvasOf(int control);
