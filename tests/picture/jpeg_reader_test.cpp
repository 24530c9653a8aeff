// JPEG decoding through libjpeg, with every test file encoded here by libjpeg's own compressor.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

#include "picture/image_file.h"
#include "picture/jpeg_reader.h"
#include "support/jpeg_encoder.h"

namespace {

// Left half one colour, right half another: flat areas survive compression almost exactly.
std::string TwoColourJpeg(int width, int height) {
  std::vector<unsigned char> samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      samples.insert(samples.end(), {static_cast<unsigned char>(left ? 200 : 20), static_cast<unsigned char>(left ? 40 : 90),
                                     static_cast<unsigned char>(left ? 10 : 230)});
    }
  return EncodeTestJpeg(width, height, false, samples);
}

void ExpectNear(Colour actual, int r, int g, int b, int tolerance) {
  EXPECT_NEAR(RedOf(actual), r, tolerance);
  EXPECT_NEAR(GreenOf(actual), g, tolerance);
  EXPECT_NEAR(BlueOf(actual), b, tolerance);
}

// Rewrites a colour JPEG, coefficient for coefficient, as a sequential file with one scan per component.
std::string OneScanPerComponent(const std::string& jpeg) {
  jpeg_decompress_struct in;
  jpeg_error_mgr inErrors;
  in.err = jpeg_std_error(&inErrors);
  jpeg_create_decompress(&in);
  jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
  jpeg_read_header(&in, TRUE);
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&in);
  MemoryJpegWriter out;
  jpeg_copy_critical_parameters(&in, &out.info);
  static const jpeg_scan_info scans[] = {{1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}};
  out.info.scan_info = scans;
  out.info.num_scans = 3;
  jpeg_write_coefficients(&out.info, coefficients);
  std::string bytes = out.Finish();
  jpeg_finish_decompress(&in);
  jpeg_destroy_decompress(&in);
  return bytes;
}

// A baseline file, a progressive one and a sequential one with a scan per component, of a busy picture.
std::vector<std::pair<const char*, std::string>> EveryScanLayout() {
  const std::vector<unsigned char> samples = PatternSamples(24, 16, false, 7, 13);
  const std::string baseline = EncodeTestJpeg(24, 16, false, samples, 90);
  return {{"baseline", baseline},
          {"progressive", EncodeTestJpeg(24, 16, false, samples, 90, true)},
          {"scan per component", OneScanPerComponent(baseline)}};
}

TEST(JpegReader, ColourPictureDecodesToRgb) {
  const auto result = DecodeJpeg(TwoColourJpeg(64, 32));
  ASSERT_TRUE(result.image) << result.reason;
  ASSERT_EQ(result.image->width, 64);
  ASSERT_EQ(result.image->height, 32);
  ExpectNear(result.image->At(4, 4), 200, 40, 10, 4);
  ExpectNear(result.image->At(60, 28), 20, 90, 230, 4);
}

TEST(JpegReader, GreyscaleIsExpandedToEqualChannels) {
  const int width = 40, height = 24;
  std::vector<unsigned char> samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) samples.push_back(static_cast<unsigned char>(x < 16 ? 30 : 220));
  const auto result = DecodeJpeg(EncodeTestJpeg(width, height, true, samples));
  ASSERT_TRUE(result.image) << result.reason;
  ASSERT_EQ(result.image->width, width);
  for (Colour pixel : result.image->pixels) {
    ASSERT_EQ(RedOf(pixel), GreenOf(pixel));
    ASSERT_EQ(GreenOf(pixel), BlueOf(pixel));
  }
  ExpectNear(result.image->At(2, 2), 30, 30, 30, 3);
  ExpectNear(result.image->At(38, 20), 220, 220, 220, 3);
}

TEST(JpegReader, BrokenFilesGiveNoImage) {
  const std::string whole = TwoColourJpeg(64, 64);
  ASSERT_TRUE(DecodeJpeg(whole).image);
  std::string garbage = "\xFF\xD8";
  for (int i = 0; i < 500; ++i) garbage.push_back(static_cast<char>(i * 37));
  EXPECT_FALSE(DecodeJpeg(garbage).image) << "garbage after the marker";
  // A start-of-image marker in the middle of the entropy-coded data cuts the scan short.
  const std::size_t scan = whole.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  std::string damaged = whole;
  const std::size_t at = scan + 20 + (whole.size() - scan - 20) / 2;
  damaged[at] = static_cast<char>(0xFF);
  damaged[at + 1] = static_cast<char>(0xD8);
  EXPECT_FALSE(DecodeJpeg(damaged).image) << "damaged scan";
}

// Files whose writer stopped before the end marker were refused although every row was there.
TEST(JpegReader, FileWithoutItsEndMarkerLoadsAsTheCompleteFile) {
  for (const auto& [layout, whole] : EveryScanLayout()) {
    SCOPED_TRACE(layout);
    ASSERT_EQ(whole.substr(whole.size() - 2), "\xFF\xD9");
    const auto complete = DecodeJpeg(whole);
    ASSERT_TRUE(complete.image) << complete.reason;
    const auto unended = DecodeJpeg(whole.substr(0, whole.size() - 2));
    ASSERT_TRUE(unended.image) << unended.reason;
    EXPECT_EQ(*unended.image, *complete.image);
  }
}

// A cut anywhere before the end marker loses data, even between scans where libjpeg sees nothing amiss.
TEST(JpegReader, FileCutAnywhereBeforeItsEndMarkerGivesNoImage) {
  for (const auto& [layout, whole] : EveryScanLayout()) {
    SCOPED_TRACE(layout);
    for (std::size_t length = 0; length + 2 < whole.size(); ++length)
      EXPECT_FALSE(DecodeJpeg(whole.substr(0, length)).image) << "cut to " << length << " of " << whole.size();
  }
}

TEST(JpegReader, PictureWiderThanTheLimitIsRefused) {
  const int width = 16385, height = 8;
  std::vector<unsigned char> samples(static_cast<std::size_t>(width) * height, 128);
  const auto result = DecodeJpeg(EncodeTestJpeg(width, height, true, samples));
  EXPECT_FALSE(result.image);
  EXPECT_EQ(result.reason, "picture larger than the limit");
}

TEST(JpegReader, RecognisedOnlyByItsFirstTwoBytes) {
  EXPECT_TRUE(LooksLikeJpeg("\xFF\xD8\xFF"));
  EXPECT_FALSE(LooksLikeJpeg("\xFF"));
  EXPECT_FALSE(LooksLikeJpeg("\xD8\xFF"));
  const auto picture = ReadImageFile(TwoColourJpeg(32, 16));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 32);
  EXPECT_FALSE(ReadImageFile(" " + TwoColourJpeg(16, 16)));
}

}  // namespace

namespace {

// A newer JFIF revision number draws a warning from libjpeg, but the picture itself is whole.
TEST(JpegReaderFinding, NewerJfifRevisionIsStillRead) {
  std::string bytes = TwoColourJpeg(16, 8);
  ASSERT_EQ(bytes.compare(6, 5, std::string("JFIF\0", 5)), 0);
  bytes[11] = 2;
  const auto result = DecodeJpeg(bytes);
  ASSERT_TRUE(result.image) << result.reason;
  EXPECT_EQ(result.image->width, 16);
}

}  // namespace
