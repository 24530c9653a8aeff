// Drives the real windows of the program in tests, the way a user would: mouse, keys, menus and
// the modal dialogs. Everything goes through the toolkit's test events on the window under the
// pointer, so modality, mouse capture and focus behave as they do for a user.
//
// Rules of use (offscreen platform):
// - Every press must be followed by a release: the held buttons are remembered by the toolkit's
//   test support between calls, so a missing release makes later moves look like drags.
// - A dialog the program opens blocks in its own loop; arrange what to do with it first
//   (WhenModalAppears and the helpers built on it), then run the code that opens it.
#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "picture/raster.h"
#include "ui/ui.h"

// Runs action once on the next modal widget that becomes active (one not already active when this
// is called). A timer looks for it every few milliseconds until it appears.
void WhenModalAppears(std::function<void(QWidget*)> action);
// The next modal dialog is cancelled (rejected) as soon as it appears.
void CancelNextDialog();
// The next file dialog (other modal widgets are left to their own helpers) is answered with the path (as typed into its name field)
// and the filter of that index.
void AnswerNextFileDialog(const std::string& path, int filterIndex);
// The next colour chooser is answered with the colour.
void AnswerNextColourDialog(Colour colour);
// The next message box is dismissed with its OK button; its title and text are
// stored where given (either may be nullptr).
void DismissNextMessageBox(std::string* title = nullptr, std::string* text = nullptr);

// Makes the window the active one, as a click on its title bar would, and waits until it is.
bool ActivateWindow(int window);

// A click at the centre of the control, or at a point given relative to the control.
void ClickControl(int control, Qt::MouseButton button = Qt::LeftButton);
void ClickControlAt(int control, QPoint point, Qt::MouseButton button = Qt::LeftButton);
// A double click of the left button at a point relative to the control.
void DoubleClickOnControl(int control, QPoint point);
// Single mouse steps on a control (positions relative to it, may lie outside it).
void PressOnControl(int control, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void MoveOnControl(int control, QPoint point);
void ReleaseOnControl(int control, QPoint point, Qt::MouseButton button = Qt::LeftButton);
// Press at the first point, move through the others, release at the last (relative to the control).
void DragOnControl(int control, const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton);

// Gives the control the keyboard focus, as a user would by tabbing to it.
void FocusControl(int control);
// A key press and release sent to the window of the control, after focusing the control.
void KeyOnControl(int control, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// A key press and release sent to whatever has the focus in the window.
void KeyOnWindow(int window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The number of the control holding the keyboard focus in the window, -1 if none.
int FocusedControl(int window);

// Opens the menu of that title in the window's menu bar with the mouse and clicks the item.
// False when there is no such title or item.
bool ChooseMenuItem(int window, const std::string& title, const std::string& item);
// The window's close box, as the window manager reports it.
void ClickCloseBox(int window);

// Lets the toolkit deliver everything it has and returns the program's events, oldest first.
std::vector<UiEvent> PumpEvents();
// Only the control events of one control, of PumpEvents.
std::vector<UiEvent> PumpControlEvents(int control);

// What the control shows on screen now, painted afresh.
QImage GrabControl(int control);
