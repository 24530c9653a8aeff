// Encodes JPEG files with libjpeg's compressor, for tests and fuzz seeds that need real JPEG bytes.
#pragma once

#include <jpeglib.h>

#include <cstdlib>
#include <string>
#include <vector>

// A libjpeg compressor that writes into memory; Finish ends the file and gives its bytes.
struct MemoryJpegWriter {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;

  MemoryJpegWriter() {
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
  }
  MemoryJpegWriter(const MemoryJpegWriter&) = delete;
  MemoryJpegWriter& operator=(const MemoryJpegWriter&) = delete;

  std::string Finish() {
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
  }
};

// Encodes width x height samples (3 per pixel for colour, 1 for greyscale), row by row from the top.
inline std::string EncodeTestJpeg(int width, int height, bool grey, const std::vector<unsigned char>& samples,
                                  int quality = 100, bool progressive = false) {
  MemoryJpegWriter writer;
  jpeg_compress_struct& info = writer.info;
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(info.input_components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(samples.data()) + stride * info.next_scanline;
    jpeg_write_scanlines(&info, &row, 1);
  }
  return writer.Finish();
}

// Samples of a busy pattern that changes along each row by step and from row to row by rowStep.
inline std::vector<unsigned char> PatternSamples(int width, int height, bool grey, int step, int rowStep) {
  const std::size_t stride = static_cast<std::size_t>(width) * (grey ? 1 : 3);
  std::vector<unsigned char> samples(stride * static_cast<std::size_t>(height));
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
    for (std::size_t i = 0; i < stride; ++i)
      samples[y * stride + i] = static_cast<unsigned char>(i * static_cast<std::size_t>(step) +
                                                           y * static_cast<std::size_t>(rowStep));
  return samples;
}
