// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the program's images and the current drawing target, and forwards drawing to the raster code.
#include "picture/surface.h"

#include <algorithm>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "picture/raster_ops.h"

namespace {

CanvasHooks canvasHooks;
std::map<int, std::unique_ptr<Raster>> numberedImages;
std::vector<std::unique_ptr<Raster>> temporaryImages;

Raster* currentTarget = nullptr;
int currentCanvas = -1;  // the canvas control of the open block, -1 when the target is an image

std::unique_ptr<Raster> MakeImage(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  try {
    return std::make_unique<Raster>(width, height, Black);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

void SetCanvasHooks(CanvasHooks hooks) { canvasHooks = hooks; }

ImageRef NewImage(int number, int width, int height) {
  auto image = MakeImage(width, height);
  if (!image) return nullptr;
  ImageRef handle = image.get();
  // A block open on the image being replaced ends with it; it must not draw on freed memory.
  if (auto old = numberedImages.find(number); old != numberedImages.end() && old->second.get() == currentTarget) {
    currentTarget = nullptr;
    currentCanvas = -1;
  }
  numberedImages[number] = std::move(image);
  return handle;
}

ImageRef NewImage(int width, int height) {
  auto image = MakeImage(width, height);
  if (!image) return nullptr;
  temporaryImages.push_back(std::move(image));
  return temporaryImages.back().get();
}

void DropImage(int number) {
  auto found = numberedImages.find(number);
  if (found == numberedImages.end()) return;
  if (found->second.get() == currentTarget) currentTarget = nullptr;
  numberedImages.erase(found);
}

void DropImage(ImageRef handle) {
  if (!handle) return;
  if (handle == currentTarget) currentTarget = nullptr;
  auto temporary = std::find_if(temporaryImages.begin(), temporaryImages.end(),
                                [handle](const auto& image) { return image.get() == handle; });
  if (temporary != temporaryImages.end()) {
    temporaryImages.erase(temporary);
    return;
  }
  for (auto it = numberedImages.begin(); it != numberedImages.end(); ++it) {
    if (it->second.get() == handle) {
      numberedImages.erase(it);
      return;
    }
  }
}

ImageRef ImageHandle(int number) {
  auto found = numberedImages.find(number);
  return found == numberedImages.end() ? nullptr : found->second.get();
}

ImageRef CanvasPicture(int control) {
  return canvasHooks.picture ? canvasHooks.picture(control) : nullptr;
}

void DropAllImages() {
  currentTarget = nullptr;
  numberedImages.clear();
  temporaryImages.clear();
}

bool BeginDrawing(DrawTarget target) {
  if (currentTarget) return false;
  Raster* surface = nullptr;
  int canvas = -1;
  switch (target.kind) {
    case DrawTarget::Kind::ImageNumber: surface = ImageHandle(target.number); break;
    case DrawTarget::Kind::Handle: surface = target.handle; break;
    case DrawTarget::Kind::Canvas:
      surface = CanvasPicture(target.number);
      canvas = target.number;
      break;
  }
  if (!surface) return false;
  currentTarget = surface;
  currentCanvas = canvas;
  return true;
}

void EndDrawing() {
  const int canvas = currentCanvas;
  const bool wasOpen = currentTarget != nullptr;
  currentTarget = nullptr;
  currentCanvas = -1;
  if (wasOpen && canvas >= 0 && canvasHooks.show) canvasHooks.show(canvas);
}

void FillRect(int x, int y, int w, int h, Colour colour) {
  if (currentTarget) FillRectOn(*currentTarget, x, y, w, h, colour);
}

void DrawLine(int x1, int y1, int x2, int y2, Colour colour) {
  if (currentTarget) DrawLineOn(*currentTarget, x1, y1, x2, y2, colour);
}

void FillCircle(int cx, int cy, int r, Colour colour) {
  if (currentTarget) FillCircleOn(*currentTarget, cx, cy, r, colour);
}

// Callers pass coordinates inside the target; a stray one is dropped rather than written out of bounds.
void SetPixel(int x, int y, Colour colour) {
  if (currentTarget && currentTarget->Contains(x, y)) currentTarget->At(x, y) = colour & ColourMask;
}

Colour GetPixel(int x, int y) {
  if (!currentTarget || !currentTarget->Contains(x, y)) return Black;
  return currentTarget->At(x, y);
}

void BlitImage(ImageRef source, int x, int y) {
  if (currentTarget && source && source != currentTarget) BlitOn(*currentTarget, *source, x, y);
}

int OutputWidth() { return currentTarget ? currentTarget->width : 0; }
int OutputHeight() { return currentTarget ? currentTarget->height : 0; }

void ShowOnCanvas(int control, ImageRef image) {
  if (!image) return;
  Raster* picture = CanvasPicture(control);
  if (!picture || picture == image) return;
  BlitOn(*picture, *image, 0, 0);
  if (canvasHooks.show) canvasHooks.show(control);
}
