// Load through the real window with hostile pictures: a size claim of 100000 x 100000, a JPEG cut short,
// bitmaps whose palette or bit fields lie. The canvas keeps its picture unless a real one was decoded, the
// settings beside the file are still read, and the program goes on.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>


#include "app/control_ids.h"
#include "app/settings.h"
#include "picture/bmp_builder.h"
#include "picture/test_files.h"
#include "support/app_fixture.h"
#include "support/jpeg_encoder.h"
#include "ui/ui.h"

namespace {

constexpr int ClaimedSide = 100000;
constexpr int JpegLargestSide = 65500;
constexpr int LibraryDefaultQuality = 75;

// The JPEG with the frame header's height and width replaced by side (both 16 bits, big-endian).
std::string WithClaimedJpegSize(std::string jpeg, int side) {
  const std::size_t frame = jpeg.find("\xFF\xC0");
  if (frame == std::string::npos) return {};
  for (std::size_t at : {frame + 5, frame + 7}) {
    jpeg[at] = static_cast<char>((side >> 8) & 0xFF);
    jpeg[at + 1] = static_cast<char>(side & 0xFF);
  }
  return jpeg;
}

class LoadFaults : public AppTest {
 protected:
  ScratchFolder folder;

  void SetUp() override {
    AppTest::SetUp();
    Press(PaintCanvas, {100, 100});
    Release(PaintCanvas, {100, 100});
  }
  // Loads bytes saved as name, with settings beside it that set the sample rate to 8000.
  void Load(const std::string& name, const std::string& bytes) {
    const std::string path = folder.File(name);
    WriteWholeFile(path, bytes);
    WriteWholeFile(path + ".vlr", "SampleRate = 8000\r\n");
    AnswerNextFileDialog(path, 0);
    Click(LoadButton);
  }
  void ExpectRefusedAndSettingsRead(const Raster& before) {
    EXPECT_EQ(CanvasOf(PaintCanvas), before) << "the canvas keeps its picture";
    EXPECT_EQ(UiGetState(SampleRateSlider), 8000) << "the settings beside the file are still read";
    EXPECT_EQ(QuitFlag, 0);
    Click(LineToggle);
    EXPECT_EQ(Tool, LineToggle) << "the program still takes input";
  }
};

TEST_F(LoadFaults, BitmapClaiming100000By100000PixelsLeavesTheCanvas) {
  const Raster before = CanvasOf(PaintCanvas);
  BmpLayout layout;
  layout.width = ClaimedSide;
  layout.height = ClaimedSide;
  layout.pixels = std::string(64, '\x7F');
  Load("huge.bmp", BuildBmp(layout));
  ExpectRefusedAndSettingsRead(before);
}

TEST_F(LoadFaults, JpegClaimingItsLargestSizeLeavesTheCanvas) {
  const Raster before = CanvasOf(PaintCanvas);
  const std::string huge = WithClaimedJpegSize(EncodeTestJpeg(16, 16, false, PatternSamples(16, 16, false, 7, 13), LibraryDefaultQuality), JpegLargestSide);
  ASSERT_FALSE(huge.empty());
  Load("huge.jpg", huge);
  ExpectRefusedAndSettingsRead(before);
}

TEST_F(LoadFaults, TruncatedJpegLeavesTheCanvas) {
  const Raster before = CanvasOf(PaintCanvas);
  const std::string whole = EncodeTestJpeg(64, 64, false, PatternSamples(64, 64, false, 7, 13), LibraryDefaultQuality);
  Load("cut.jpg", whole.substr(0, whole.size() / 2));
  ExpectRefusedAndSettingsRead(before);
}

TEST_F(LoadFaults, BitmapWhoseBitFieldsLieLeavesTheCanvas) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> masks;
  };
  const Case cases[] = {
      {"overlap.bmp", {0xF800, 0x0FE0, 0x001F}},    // green reaches into red
      {"wide.bmp", {0xFF0000, 0x00FF00, 0x0000FF}},  // 32-bit masks on 16-bit pixels
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Raster before = CanvasOf(PaintCanvas);
    BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bitsPerPixel = 16;
    layout.compression = 3;
    layout.masks = c.masks;
    layout.pixels = Bytes({0xFF, 0xFF, 0x00, 0x00});
    Load(c.name, BuildBmp(layout));
    ExpectRefusedAndSettingsRead(before);
  }
}

TEST_F(LoadFaults, BitmapClaimingMoreColoursThanItsPaletteHoldsShowsOnlyTheColoursItHas) {
  // 4 billion colours claimed, one white entry present; every pixel names entry 200.
  BmpLayout layout;
  layout.width = 4;
  layout.height = 4;
  layout.bitsPerPixel = 8;
  layout.coloursUsed = 0xFFFFFFFF;
  layout.palette = {{255, 255, 255}};
  layout.pixels = std::string(16, '\xC8');
  Load("palette.bmp", BuildBmp(layout));
  const Raster& shown = CanvasOf(PaintCanvas);
  EXPECT_EQ(LitCount(shown), 0) << "entries the file does not hold are black, never read from beyond it";
  EXPECT_EQ(UiGetState(SampleRateSlider), 8000);
  EXPECT_EQ(QuitFlag, 0);
}

TEST_F(LoadFaults, BitmapWhosePaletteRunsIntoThePixelDataUsesOnlyTheBytesBeforeIt) {
  // The data offset says the palette holds one entry although two are claimed and indexed.
  BmpLayout layout;
  layout.width = 2;
  layout.height = 1;
  layout.bitsPerPixel = 1;
  layout.coloursUsed = 2;
  layout.palette = {{255, 0, 0}};
  layout.pixels = PaddedRow(Bytes({0x40}));  // pixel 0 uses entry 0, pixel 1 entry 1
  Load("short_palette.bmp", BuildBmp(layout));
  const Raster& shown = CanvasOf(PaintCanvas);
  EXPECT_EQ(shown.At(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(shown.At(CanvasSize - 1, 0), Black);
  EXPECT_EQ(UiGetState(SampleRateSlider), 8000);
}

}  // namespace
