// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing surface: numbered images, temporary images, canvas pictures and the one drawing block.
// All of it runs on the main thread; the current target is one process-wide value.
#pragma once

#include "picture/raster.h"

// An image handle stands for one image or canvas picture; 0 (nullptr) stands for none.
using ImageRef = Raster*;

// What a drawing block draws on: an image by number, an image or picture by handle, or a canvas control.
struct DrawTarget {
  enum class Kind { ImageNumber, Handle, Canvas } kind;
  int number = 0;
  ImageRef handle = nullptr;
};
inline DrawTarget ImageTarget(int number) { return {DrawTarget::Kind::ImageNumber, number, nullptr}; }
inline DrawTarget HandleTarget(ImageRef handle) { return {DrawTarget::Kind::Handle, 0, handle}; }
inline DrawTarget CanvasTarget(int control) { return {DrawTarget::Kind::Canvas, control, nullptr}; }

// How the surface finds a canvas control's picture and asks the control to show it on screen.
struct CanvasHooks {
  Raster* (*picture)(int control) = nullptr;  // nullptr when there is no such canvas
  void (*show)(int control) = nullptr;        // repaints the control before it returns
};
// Installs the canvas hooks (the windowing layer's at start-up; fakes in tests).
void SetCanvasHooks(CanvasHooks hooks);

// Creates a black image under number (replacing any image of that number); returns its handle, 0 on failure.
ImageRef NewImage(int number, int width, int height);
// Creates a temporary black image without a number; returns its handle, 0 on failure.
ImageRef NewImage(int width, int height);
// Frees the image of that number; a number without an image is ignored.
void DropImage(int number);
// Frees a temporary (or numbered) image by handle; 0 or an unknown handle is ignored.
void DropImage(ImageRef handle);
// Gives the handle of image number, 0 when there is none.
ImageRef ImageHandle(int number);
// Gives the handle of a canvas control's picture, 0 when there is no such canvas.
ImageRef CanvasPicture(int control);
// Frees every image (at exit).
void DropAllImages();

// Opens a drawing block on the target; false when it does not exist or a block is already open.
bool BeginDrawing(DrawTarget target);
// Closes the block; a canvas is repainted on screen before this returns.
void EndDrawing();

// Operations on the current target; outside a drawing block they do nothing (GetPixel gives 0).
void FillRect(int x, int y, int w, int h, Colour colour);
void DrawLine(int x1, int y1, int x2, int y2, Colour colour);
void FillCircle(int cx, int cy, int r, Colour colour);
void SetPixel(int x, int y, Colour colour);
Colour GetPixel(int x, int y);
void BlitImage(ImageRef source, int x, int y);
int OutputWidth();
int OutputHeight();

// Copies the image onto the canvas picture at (0, 0) at its own size and repaints; does nothing for handle 0.
void ShowOnCanvas(int control, ImageRef image);
