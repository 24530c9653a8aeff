// libjpeg decoding. The error exit longjmps, so the libjpeg work runs in a function that holds only C data:
// no destructor is ever jumped over, and the one buffer is malloc'd and freed on both paths.
#include "picture/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr unsigned char JpegMarkerPrefix = 0xFF;
constexpr unsigned char StartOfImage = 0xD8;
constexpr int RgbComponents = 3;

struct JpegErrorManager {
  jpeg_error_mgr base;  // first, so libjpeg's pointer to it is also a pointer to the whole record
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

// Plain C output of the decoding step; pixels is malloc'd RGB, width x height x 3 bytes.
struct JpegPixels {
  unsigned char* pixels;
  JDIMENSION width;
  JDIMENSION height;
  const char* failure;
};

void JumpOnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->escape, 1);
}

// Warnings (level < 0) mostly report corrupt or truncated data, and fail the read like errors; the two
// about unusual but readable headers (a newer JFIF revision, an unknown Adobe transform) do not.
// Trace text is dropped.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  const int code = info->err->msg_code;
  if (code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM) return;
  JumpOnError(info);
}

void SilentOutput(j_common_ptr) {}

// Everything the decoding step changes lives outside its own frame, so no local of the function that
// calls setjmp is changed before a longjmp (such locals would be indeterminate afterwards).
struct JpegSession {
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  JpegPixels out;
};

// Decodes into session->out; returns 1 on success. Uses no object with a destructor (longjmp lands here).
int DecodeJpegPlain(const unsigned char* data, unsigned long size, JpegSession* session) {
  jpeg_decompress_struct& info = session->info;
  JpegErrorManager& errors = session->errors;
  JpegPixels* out = &session->out;
  std::memset(session, 0, sizeof *session);
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  errors.base.emit_message = EmitMessage;
  errors.base.output_message = SilentOutput;

  if (setjmp(errors.escape) != 0) {
    jpeg_destroy_decompress(&info);
    std::free(out->pixels);
    out->pixels = nullptr;
    if (!out->failure) out->failure = "libjpeg reported an error";
    return 0;
  }

  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  if (!ImageSizeAllowed(info.image_width, info.image_height)) {
    out->failure = "picture larger than the limit";
    std::longjmp(errors.escape, 1);
  }
  // Greyscale is expanded here rather than trusting the library's own conversion.
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  const int components = grey ? 1 : RgbComponents;
  if (info.output_components != components || !ImageSizeAllowed(info.output_width, info.output_height)) {
    out->failure = "unexpected output layout";
    std::longjmp(errors.escape, 1);
  }

  out->width = info.output_width;
  out->height = info.output_height;
  const std::size_t rowBytes = static_cast<std::size_t>(out->width) * RgbComponents;
  out->pixels = static_cast<unsigned char*>(std::malloc(rowBytes * out->height));
  if (!out->pixels) {
    out->failure = "out of memory";
    std::longjmp(errors.escape, 1);
  }
  while (info.output_scanline < info.output_height) {
    unsigned char* row = out->pixels + rowBytes * info.output_scanline;
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) {
      out->failure = "no scanline";
      std::longjmp(errors.escape, 1);
    }
    if (grey)  // spread the grey samples, from the right so none is overwritten before it is read
      for (JDIMENSION x = out->width; x-- > 0;) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = row[x];
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return 1;
}

}  // namespace

bool LooksLikeJpeg(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == JpegMarkerPrefix &&
         static_cast<unsigned char>(bytes[1]) == StartOfImage;
}

ImageDecodeResult DecodeJpeg(std::string_view bytes) {
  if (!LooksLikeJpeg(bytes)) return DecodeFailure("not a JPEG");
  auto* session = static_cast<JpegSession*>(std::malloc(sizeof(JpegSession)));
  if (!session) return DecodeFailure("out of memory");
  const int decodedOk = DecodeJpegPlain(reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<unsigned long>(bytes.size()), session);
  const JpegPixels decoded = session->out;
  std::free(session);
  if (!decodedOk)
    return DecodeFailure(decoded.failure ? decoded.failure : "libjpeg reported an error");

  ImageDecodeResult result;
  try {
    Raster picture(static_cast<int>(decoded.width), static_cast<int>(decoded.height), Black);
    const unsigned char* from = decoded.pixels;
    for (Colour& pixel : picture.pixels) {
      pixel = MakeColour(from[0], from[1], from[2]);
      from += RgbComponents;
    }
    result.image = std::move(picture);
  } catch (const std::bad_alloc&) {
    result.reason = "out of memory";
  }
  std::free(decoded.pixels);
  return result;
}
