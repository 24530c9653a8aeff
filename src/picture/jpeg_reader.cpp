// SPDX-License-Identifier: GPL-3.0-or-later
// libjpeg decoding. The error exit longjmps, so the libjpeg work runs in a function that holds only C data:
// no destructor is ever jumped over, and the one buffer is malloc'd and freed on both paths.
#include "picture/image_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr unsigned char JpegMarkerPrefix = 0xFF;
constexpr unsigned char StartOfImage = 0xD8;
constexpr unsigned char EndOfImage = 0xD9;
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
  jpeg_progress_mgr progress;
  unsigned char scanned[MAX_COMPONENTS];  // nonzero for each component seen in a scan
  JpegPixels out;
};

// libjpeg calls the progress monitor before every step of absorbing a multi-scan file, so each scan's
// components are seen here; a missed call could only make a complete file look incomplete.
void NoteScanComponents(j_common_ptr common) {
  auto* info = reinterpret_cast<j_decompress_ptr>(common);
  auto* session = static_cast<JpegSession*>(info->client_data);
  for (int i = 0; i < info->comps_in_scan; ++i) session->scanned[info->cur_comp_info[i]->component_index] = 1;
}

// A file cut between two scans decodes without a complaint from libjpeg, with the later scans' detail
// simply absent; so every component must have been in a scan and, in a progressive file, every
// coefficient must have reached full precision.
bool EveryScanPresent(const JpegSession& session) {
  const jpeg_decompress_struct& info = session.info;
  if (info.progressive_mode && !info.coef_bits) return false;
  for (int c = 0; c < info.num_components; ++c) {
    if (!session.scanned[c]) return false;
    if (info.progressive_mode)
      for (int k = 0; k < DCTSIZE2; ++k)
        if (info.coef_bits[c][k] != 0) return false;
  }
  return true;
}

// Decodes into session->out; returns 1 on success. Uses no object with a destructor (longjmp lands here).
// checkScans asks that every scan be present, for data whose end marker was missing.
int DecodeJpegPlain(const unsigned char* data, unsigned long size, int checkScans, JpegSession* session) {
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
  session->progress.progress_monitor = NoteScanComponents;  // after creation, which clears the hook
  info.progress = &session->progress;
  info.client_data = session;
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  if (!ImageSizeAllowed(info.image_width, info.image_height)) {
    out->failure = "picture larger than the limit";
    std::longjmp(errors.escape, 1);
  }
  // Greyscale is expanded here rather than trusting the library's own conversion.
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  NoteScanComponents(reinterpret_cast<j_common_ptr>(&info));  // the first scan, read with the header
  // A multi-scan file is read whole here, so its scans are known before any row is decoded.
  jpeg_start_decompress(&info);
  if (checkScans && !EveryScanPresent(*session)) {
    out->failure = "picture data missing";
    std::longjmp(errors.escape, 1);
  }
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
  // Some writers stop before the end marker. libjpeg warns about that like about any cut, so the marker is
  // added back; a file cut short anywhere else still draws a warning (or misses scans) and is refused.
  const bool ended = bytes.size() >= 4 && static_cast<unsigned char>(bytes[bytes.size() - 2]) == JpegMarkerPrefix &&
                     static_cast<unsigned char>(bytes[bytes.size() - 1]) == EndOfImage;
  std::string completed;
  if (!ended) {
    try {
      completed.reserve(bytes.size() + 2);
      completed.append(bytes).append({static_cast<char>(JpegMarkerPrefix), static_cast<char>(EndOfImage)});
    } catch (const std::bad_alloc&) {
      return DecodeFailure("out of memory");
    }
    bytes = completed;
  }
  auto* session = static_cast<JpegSession*>(std::malloc(sizeof(JpegSession)));
  if (!session) return DecodeFailure("out of memory");
  const int decodedOk = DecodeJpegPlain(reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<unsigned long>(bytes.size()), ended ? 0 : 1, session);
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
