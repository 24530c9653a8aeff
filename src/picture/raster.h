// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own pixel type: a 24-bit picture held as one colour value per pixel.
#pragma once

#include <cstdint>
#include <vector>

// A colour value is 0x00BBGGRR: red in the low byte. Drawing keeps only the low 24 bits.
using Colour = std::uint32_t;
constexpr Colour ColourMask = 0x00FFFFFFu;
constexpr Colour Black = 0x000000u;
constexpr Colour White = 0xFFFFFFu;

constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

// The canvas picture is CanvasSize × CanvasSize; Load stretches every picture to it.
constexpr int CanvasSize = 380;

// A width × height picture, row-major from the top-left pixel, every value within ColourMask.
struct Raster {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;

  Raster() = default;
  Raster(int w, int h, Colour fill = Black)
      : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
        pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill & ColourMask) {}

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Colour& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const Raster&) const = default;
};
