// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding Windows bitmap files of every common variant, run-length data included, refusing broken or
// hostile ones without allocating for what they claim.
#include <array>
#include <bit>
#include <new>
#include <optional>
#include <string>

#include "picture/bmp_format.h"
#include "picture/image_file.h"

namespace {

constexpr std::uint8_t EscapeEndOfLine = 0;
constexpr std::uint8_t EscapeEndOfBitmap = 1;
constexpr std::uint8_t EscapeDelta = 2;

// Walks the data once; with a picture it also stores the pixels. Gives the reason when the data is broken.
const char* WalkRle(std::string_view data, int width, int height, bool fourBit, const BmpPalette& palette,
                    Raster* picture) {
  auto byteAt = [&](std::size_t at) { return static_cast<std::uint8_t>(data[at]); };
  // x and y count from the bottom-left pixel as the data does; positions off the picture are dropped.
  std::int64_t x = 0, y = 0;
  auto put = [&](std::uint8_t index) {
    if (picture && x < width && y < height)
      picture->At(static_cast<int>(x), static_cast<int>(height - 1 - y)) = palette[index];
    ++x;
  };

  std::size_t at = 0;
  while (y < height) {
    if (at + 2 > data.size()) return "run-length data ends early";
    const std::uint8_t count = byteAt(at);
    const std::uint8_t code = byteAt(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? code >> 4 : code & 0x0F) : code);
      continue;
    }
    if (code == EscapeEndOfLine) {
      x = 0;
      ++y;
    } else if (code == EscapeEndOfBitmap) {
      break;
    } else if (code == EscapeDelta) {
      if (at + 2 > data.size()) return "run-length jump cut off";
      x += byteAt(at);
      y += byteAt(at + 1);
      at += 2;
    } else {
      const std::size_t bytes = fourBit ? (code + 1u) / 2u : code;
      if (at + bytes > data.size()) return "run-length literal cut off";
      for (int i = 0; i < code; ++i) {
        const std::uint8_t packed = byteAt(at + (fourBit ? i / 2 : i));
        put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? packed >> 4 : packed & 0x0F) : packed);
      }
      at += bytes + (bytes & 1u);  // literal runs are padded to an even length
    }
  }
  return nullptr;
}

}  // namespace

ImageDecodeResult DecodeBmpRle(std::string_view data, int width, int height, int bitsPerPixel,
                               const BmpPalette& palette) {
  if (!ImageSizeAllowed(width, height)) return DecodeFailure("picture size out of range");
  if (bitsPerPixel != 8 && bitsPerPixel != 4) return DecodeFailure("run-length data needs 4 or 8 bits");
  const bool fourBit = bitsPerPixel == 4;
  // A few bytes can claim a huge picture, so the data is checked whole before the picture is allocated.
  if (const char* problem = WalkRle(data, width, height, fourBit, palette, nullptr)) return DecodeFailure(problem);
  Raster picture;
  try {
    picture = Raster(width, height, Black);
  } catch (const std::bad_alloc&) {
    return DecodeFailure("out of memory");
  }
  WalkRle(data, width, height, fourBit, palette, &picture);
  return {std::move(picture), {}};
}

namespace {

constexpr std::size_t MaskCount = 3;  // red, green, blue
constexpr std::size_t MaskBytes = 4;
constexpr int MaxPaletteBits = 8;
constexpr std::size_t CorePaletteEntryBytes = 3;  // blue, green, red; later headers add a fourth byte

// One colour channel of a 16- or 32-bit pixel: where its bits are and how many there are.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t maximum = 0;
};

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = BmpRgb;
  std::size_t dataOffset = 0;
  std::size_t afterHeaders = 0;  // where a palette would start
  std::size_t paletteEntryBytes = 4;
  std::uint32_t coloursUsed = 0;
  std::array<std::uint32_t, MaskCount> masks{};
};

bool KnownHeaderSize(std::uint32_t size) {
  return size == BmpCoreHeaderSize || size == BmpInfoHeaderSize || size == BmpV2HeaderSize ||
         size == BmpV3HeaderSize || size == BmpV4HeaderSize || size == BmpV5HeaderSize;
}

bool UsesBitFields(std::uint32_t compression) {
  return compression == BmpBitFields || compression == BmpAlphaBitFields;
}

// Masks must be non-empty runs of contiguous bits inside the pixel that do not overlap.
std::optional<std::array<Channel, MaskCount>> ChannelsFromMasks(const std::array<std::uint32_t, MaskCount>& masks,
                                                                int bitsPerPixel) {
  std::array<Channel, MaskCount> channels{};
  std::uint32_t seen = 0;
  const std::uint64_t pixelBits = (std::uint64_t{1} << bitsPerPixel) - 1;
  for (std::size_t i = 0; i < MaskCount; ++i) {
    const std::uint32_t mask = masks[i];
    if (mask == 0 || (mask & ~pixelBits) != 0 || (mask & seen) != 0) return std::nullopt;
    const int shift = std::countr_zero(mask);
    const std::uint64_t run = static_cast<std::uint64_t>(mask) >> shift;
    if ((run & (run + 1)) != 0) return std::nullopt;
    channels[i] = {mask, shift, run};
    seen |= mask;
  }
  return channels;
}

std::uint8_t Scaled(std::uint32_t pixel, const Channel& channel) {
  const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  return static_cast<std::uint8_t>((value * 255 + channel.maximum / 2) / channel.maximum);
}

// Reads and checks the headers; the stored file size is not trusted and not needed.
std::optional<std::string> ReadLayout(std::string_view bytes, Layout& layout) {
  if (bytes.size() < BmpFileHeaderSize + sizeof(std::uint32_t)) return "file too short";
  const std::uint32_t headerSize = ReadLe32(bytes, BmpHeaderSizeField);
  if (!KnownHeaderSize(headerSize)) return "unknown header size";
  if (bytes.size() < BmpFileHeaderSize + headerSize) return "header cut off";
  const std::size_t h = BmpFileHeaderSize;
  layout.dataOffset = ReadLe32(bytes, BmpDataOffsetField);
  layout.afterHeaders = h + headerSize;

  if (headerSize == BmpCoreHeaderSize) {
    layout.width = ReadLe16(bytes, h + CoreWidthField);
    layout.height = ReadLe16(bytes, h + CoreHeightField);
    layout.bitsPerPixel = ReadLe16(bytes, h + CoreBitsField);
    layout.paletteEntryBytes = CorePaletteEntryBytes;
    if (layout.bitsPerPixel != 1 && layout.bitsPerPixel != 4 && layout.bitsPerPixel != 8 && layout.bitsPerPixel != 24)
      return "unsupported bits per pixel";
  } else {
    layout.width = static_cast<std::int32_t>(ReadLe32(bytes, h + InfoWidthField));
    layout.height = static_cast<std::int32_t>(ReadLe32(bytes, h + InfoHeightField));
    layout.bitsPerPixel = ReadLe16(bytes, h + InfoBitsField);
    layout.compression = ReadLe32(bytes, h + InfoCompressionField);
    layout.coloursUsed = ReadLe32(bytes, h + InfoColoursUsedField);
  }
  if (layout.width <= 0) return "width not positive";
  if (layout.height == 0) return "height is zero";
  if (layout.height < 0) {  // a negative height stores the top row first
    layout.topDown = true;
    layout.height = -layout.height;  // int64: even INT32_MIN negates safely
  }
  if (!ImageSizeAllowed(layout.width, layout.height)) return "picture larger than the limit";

  const int bpp = layout.bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return "unsupported bits per pixel";
  switch (layout.compression) {
    case BmpRgb: break;
    case BmpRle8:
      if (bpp != 8 || layout.topDown) return "RLE8 needs 8 bits and bottom-up rows";
      break;
    case BmpRle4:
      if (bpp != 4 || layout.topDown) return "RLE4 needs 4 bits and bottom-up rows";
      break;
    case BmpBitFields:
    case BmpAlphaBitFields:
      if (bpp != 16 && bpp != 32) return "bit fields need 16 or 32 bits";
      break;
    default: return "unsupported compression";
  }

  if (UsesBitFields(layout.compression)) {
    std::size_t at = h + InfoMasksField;
    if (headerSize == BmpInfoHeaderSize) {  // the masks follow the short header
      const std::size_t maskFields = layout.compression == BmpAlphaBitFields ? MaskCount + 1 : MaskCount;
      at = layout.afterHeaders;
      layout.afterHeaders += maskFields * MaskBytes;
      if (bytes.size() < layout.afterHeaders) return "bit field masks cut off";
    }
    for (std::size_t i = 0; i < MaskCount; ++i) layout.masks[i] = ReadLe32(bytes, at + i * MaskBytes);
  } else if (bpp == 16) {
    layout.masks = {0x7C00u, 0x03E0u, 0x001Fu};
  } else if (bpp == 32) {
    layout.masks = {0xFF0000u, 0x00FF00u, 0x0000FFu};
  }

  if (layout.dataOffset < layout.afterHeaders) return "pixel data inside the header";
  if (layout.dataOffset > bytes.size()) return "pixel data offset beyond the file";
  return std::nullopt;
}

// The palette entries the file really holds before the pixel data; the rest stay black.
std::optional<BmpPalette> ReadPalette(std::string_view bytes, const Layout& layout) {
  BmpPalette palette;
  palette.fill(Black);
  const std::size_t fullSize = std::size_t{1} << layout.bitsPerPixel;
  std::size_t claimed = layout.coloursUsed == 0 ? fullSize : layout.coloursUsed;
  if (claimed > fullSize) claimed = fullSize;
  const std::size_t room = (layout.dataOffset - layout.afterHeaders) / layout.paletteEntryBytes;
  const std::size_t count = claimed < room ? claimed : room;
  if (count == 0) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = layout.afterHeaders + i * layout.paletteEntryBytes;
    palette[i] = MakeColour(static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
                            static_cast<std::uint8_t>(bytes[at]));
  }
  return palette;
}

Colour PixelAt(std::string_view row, std::int64_t x, const Layout& layout, const BmpPalette& palette,
               const std::array<Channel, MaskCount>& channels) {
  auto byte = [&](std::int64_t i) { return static_cast<std::uint8_t>(row[static_cast<std::size_t>(i)]); };
  switch (layout.bitsPerPixel) {
    case 1: return palette[(byte(x / 8) >> (7 - x % 8)) & 0x01];
    case 4: return palette[(byte(x / 2) >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
    case 8: return palette[byte(x)];
    case 24: return MakeColour(byte(x * 3 + 2), byte(x * 3 + 1), byte(x * 3));
    default: break;
  }
  const std::uint32_t pixel = layout.bitsPerPixel == 16 ? ReadLe16(row, static_cast<std::size_t>(x * 2))
                                                        : ReadLe32(row, static_cast<std::size_t>(x * 4));
  return MakeColour(Scaled(pixel, channels[0]), Scaled(pixel, channels[1]), Scaled(pixel, channels[2]));
}

}  // namespace

bool LooksLikeBmp(std::string_view bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

ImageDecodeResult DecodeBmp(std::string_view bytes) {
  if (!LooksLikeBmp(bytes)) return DecodeFailure("not a bitmap");
  Layout layout;
  if (auto problem = ReadLayout(bytes, layout)) return DecodeFailure(*problem);

  BmpPalette palette;
  palette.fill(Black);
  if (layout.bitsPerPixel <= MaxPaletteBits) {
    auto read = ReadPalette(bytes, layout);
    if (!read) return DecodeFailure("palette missing");
    palette = *read;
  }
  std::array<Channel, MaskCount> channels{};
  if (layout.bitsPerPixel == 16 || layout.bitsPerPixel == 32) {
    auto checked = ChannelsFromMasks(layout.masks, layout.bitsPerPixel);
    if (!checked) return DecodeFailure("bit field masks make no sense");
    channels = *checked;
  }

  const std::string_view data = bytes.substr(layout.dataOffset);
  const int width = static_cast<int>(layout.width);
  const int height = static_cast<int>(layout.height);
  if (layout.compression == BmpRle8 || layout.compression == BmpRle4)
    return DecodeBmpRle(data, width, height, layout.bitsPerPixel, palette);

  // The last row may lack its padding; every other row must be whole before anything is allocated.
  const std::int64_t rowBytes = BmpRowBytes(layout.width, layout.bitsPerPixel);
  const std::int64_t lastRowBytes = (layout.width * layout.bitsPerPixel + 7) / 8;
  if (static_cast<std::int64_t>(data.size()) < rowBytes * (layout.height - 1) + lastRowBytes)
    return DecodeFailure("pixel data cut off");

  Raster picture;
  try {
    picture = Raster(width, height, Black);
  } catch (const std::bad_alloc&) {
    return DecodeFailure("out of memory");
  }
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const int y = layout.topDown ? fileRow : height - 1 - fileRow;
    const std::string_view row = data.substr(static_cast<std::size_t>(rowBytes) * fileRow);
    for (int x = 0; x < width; ++x) picture.At(x, y) = PixelAt(row, x, layout, palette, channels);
  }
  return {std::move(picture), {}};
}
