// SPDX-License-Identifier: GPL-3.0-or-later
// The started program's whole state by name, to compare before and after a command, and the window's controls as
// the manual lists them, with models of what the preview and the band level editor show.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "distribution/band_editor.h"
#include "picture/raster.h"

// Every field of SynthSettings, the painting globals, each control's state, the pictures (as digests), the band
// points, the sound and the number of help windows open.
using WindowState = std::map<std::string, std::string>;
WindowState TakeWindowState();
// One line "key: expected ..., is ..." for each key that differs; empty when they agree. An expected value ending
// in "*" matches any value that starts with what comes before it.
std::string StateDifferences(const WindowState& expected, const WindowState& actual);
std::string Shown(const Raster& picture);
std::string Shown(float value);
std::string Shown(const std::vector<BandPoint>& points);

// A control of the main window: number, name, kind, place, size, text, range and start state (-1: none).
struct WindowControl {
  int number;
  const char* name;
  const char* kind;  // canvas, button, toggle, image, spin, checkbox, vslider, hslider, label, frame
  int x, y, width, height;
  const char* text;
  int minimum, maximum, start;
};
extern const std::vector<WindowControl> WindowControls;
std::string NameOf(int control);  // from the table above

// The preview of the shaped distribution for the fractions: black with white lines joining the curve's height over
// each of the 160 columns, the curve's parameter found by bisection.
Raster PreviewModel(double a, double b, double c, double d);
// The band level editor showing points: black, a disc of radius 3 on each point and lines joining them, in white.
Raster BandEditorModel(const std::vector<BandPoint>& points);
