// SPDX-License-Identifier: GPL-3.0-or-later
// The started program's whole state by name, to compare before and after a command; the main window's controls as
// the manual lists them; models of what the distribution preview and the band level editor show.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "distribution/band_editor.h"

// Every field of SynthSettings, the painting globals, each control's state, the pictures of the canvases and images
// (as digests), the band points, the sound and the number of help windows open.
using WindowState = std::map<std::string, std::string>;
WindowState TakeWindowState();
// "key: expected ..., is ..." for each key that differs, one a line. An expected "x*" matches any value starting with x.
std::string StateDifferences(const WindowState& expected, const WindowState& actual);
std::string Shown(const Raster& picture);
std::string Shown(float value);
std::string Shown(const std::vector<BandPoint>& points);

struct WindowControl {
  int number;
  const char *name, *kind;  // kind: canvas, button, toggle, image, spin, checkbox, vslider, hslider, label, frame
  int x, y, width, height;
  const char* text;
  int minimum, maximum, start;  // start -1: no state of its own
};
extern const std::vector<WindowControl> WindowControls;  // in creation order, the band level editor left out
std::string NameOf(int control);

// The preview for the fractions: black, and white lines joining the curve's height over each of its 160 columns.
Raster PreviewModel(double a, double b, double c, double d);
// The band level editor: black, a white disc of radius 3 on each point and white lines joining them.
Raster BandEditorModel(const std::vector<BandPoint>& points);
