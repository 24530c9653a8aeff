// Save and Load driven through the real file dialog: the files written, the picture and settings restored.
#include <sys/stat.h>

#include "picture/bmp_writer.h"
#include "picture/image_file_commands.h"
#include "picture/settings_file_keys.h"
#include "save_load_fixture.h"

namespace {

void SaveAs(const std::string& path, int filter) {
  AnswerNextFileDialog(path, filter);
  RunSaveCommand();
}

void LoadFrom(const std::string& path) {
  AnswerNextFileDialog(path, 0);
  RunLoadCommand();
}

// Loads the picture p.bmp (an unreadable one: the dialog only takes existing files) with these settings.
void LoadSettingsText(const ScratchFolder& folder, const std::string& settings) {
  WriteWholeFile(folder.File("p.bmp"), "no picture");
  WriteWholeFile(folder.File("p.bmp.vlr"), settings);
  LoadFrom(folder.File("p.bmp"));
}

// A picture with a different colour in every corner region, so flips and shifts would show.
void PaintMarks() {
  ASSERT_TRUE(BeginDrawing(CanvasTarget(PaintCanvas)));
  FillRect(0, 0, 380, 380, Black);
  FillRect(0, 0, 10, 10, MakeColour(255, 0, 0));
  FillRect(370, 370, 10, 10, MakeColour(0, 0, 255));
  FillCircle(190, 100, 11, MakeColour(10, 200, 30));
  DrawLine(0, 379, 379, 200, White);
  EndDrawing();
}

std::string StartUpSettingsText(const std::vector<StoredBandPoint>& points) {
  std::string text = "SoundDuration = 5000\r\nSampleRate = 3000\r\nFrqFrom = 90\r\nFrqTo = 9000\r\n"
                     "FrqDistribution = 0\r\nFrqDistA = 50\r\nFrqDistB = 5\r\nFrqDistC = 75\r\nFrqDistD = 75\r\n";
  for (std::size_t i = 0; i < points.size(); ++i)
    text += "FrqBandP" + std::to_string(i + 1) + " = " + FormatBandPoint(points[i]) + "\r\n";
  return text;
}

TEST_F(SaveLoadTest, SaveWithBitmapFilterWritesPictureAndSettings) {
  PaintMarks();
  SaveAs(folder.File("pic"), 0);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"pic.bmp", "pic.bmp.vlr"}));
  const auto image = ReadWholeFile(folder.File("pic.bmp"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), 433254u);
  EXPECT_EQ(*image, EncodeBmp24(Canvas()));
  EXPECT_EQ(static_cast<std::uint8_t>((*image)[54 + 2]), 255);  // bottom-left pixel: the white line's start
  ASSERT_EQ(BandPoints().size(), 8u);
  EXPECT_EQ(ReadWholeFile(folder.File("pic.bmp.vlr")), StartUpSettingsText(BandPoints()));
}

TEST_F(SaveLoadTest, ANameWithTheExtensionKeepsItInThatLetterCaseOnly) {
  SaveAs(folder.File("pic.bmp"), 0);
  SaveAs(folder.File("PIC.BMP"), 0);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"PIC.BMP.bmp", "PIC.BMP.bmp.vlr", "pic.bmp", "pic.bmp.vlr"}));
}

TEST_F(SaveLoadTest, JpgFilterWritesBitmapDataThatLoadsAgain) {
  PaintMarks();
  const Raster saved = Canvas();
  SaveAs(folder.File("pic"), 1);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"pic.jpg", "pic.jpg.vlr"}));
  EXPECT_EQ(ReadWholeFile(folder.File("pic.jpg"))->substr(0, 2), "BM");
  FillCanvas(PaintCanvas, Black);
  LoadFrom(folder.File("pic.jpg"));
  EXPECT_TRUE(Canvas() == saved);
}

TEST_F(SaveLoadTest, SaveDoesNotTouchRepeatOrThePicture) {
  PaintMarks();
  const Raster before = Canvas();
  UiSetState(RepeatCheckbox, 1);
  RepeatFlag = 1;
  SaveAs(folder.File("pic"), 0);
  EXPECT_EQ(UiGetState(RepeatCheckbox), 1);
  EXPECT_EQ(RepeatFlag, 1);
  EXPECT_TRUE(Canvas() == before);
}

TEST_F(SaveLoadTest, PictureThatCannotBeWrittenIsReportedAndWritesNoSettings) {
  ASSERT_EQ(mkdir(folder.File("pic.bmp").c_str(), 0755), 0);
  std::string text;
  DismissNextMessageBox(nullptr, &text);
  SaveAs(folder.File("pic"), 0);
  EXPECT_NE(text.find("could not be saved"), std::string::npos) << text;
  struct stat info {};
  ASSERT_EQ(stat(folder.File("pic.bmp").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"pic.bmp"}));
}

TEST_F(SaveLoadTest, SavedControlsAndCurveAreWrittenAsTheyStand) {
  UiSetState(SampleRateSlider, 8000);
  UiSetState(SoundDurationSlider, 2000);
  UiSetState(DistributionCheckbox, 1);
  UiSetState(DistCSlider, 12);
  auto points = BandPoints();
  points[2] = {40, 16};
  ImportBandPoints(BandLevelEditorNumber, points);
  SaveAs(folder.File("pic"), 0);
  const auto text = ReadWholeFile(folder.File("pic.bmp.vlr")).value_or("");
  for (const char* line : {"SampleRate = 8000\r\n", "SoundDuration = 2000\r\n", "FrqDistribution = 1\r\n",
                           "FrqDistC = 12\r\n", "FrqBandP3 = 40,16\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST_F(SaveLoadTest, SavingOverSettingsKeepsCommentAndForeignKeyInPlace) {
  WriteWholeFile(folder.File("pic.bmp.vlr"), "; my sound\r\nSampleRate = 4000\r\nMood = calm\r\n");
  UiSetState(SampleRateSlider, 5000);
  SaveAs(folder.File("pic"), 0);
  const auto text = ReadWholeFile(folder.File("pic.bmp.vlr")).value_or("");
  EXPECT_EQ(text.rfind("; my sound\r\nSampleRate = 5000\r\nMood = calm\r\nSoundDuration = 5000\r\n", 0), 0u) << text;
}

TEST_F(SaveLoadTest, CancelledDialogsChangeNothing) {
  PaintMarks();
  const Raster before = Canvas();
  UiSetState(RepeatCheckbox, 1);
  CancelNextDialog();
  RunSaveCommand();
  CancelNextDialog();
  RunLoadCommand();
  EXPECT_TRUE(folder.Entries().empty());
  EXPECT_EQ(UiGetState(RepeatCheckbox), 1);
  EXPECT_TRUE(Canvas() == before);
}

TEST_F(SaveLoadTest, RoundTripGivesTheIdenticalPictureAndUnticksRepeat) {
  PaintMarks();
  const Raster saved = Canvas();
  SaveAs(folder.File("pic"), 0);
  FillCanvas(PaintCanvas, White);
  UiSetState(RepeatCheckbox, 1);
  RepeatFlag = 1;
  LoadFrom(folder.File("pic.bmp"));
  EXPECT_TRUE(Canvas() == saved);
  EXPECT_EQ(UiGetState(RepeatCheckbox), 0);
  EXPECT_EQ(RepeatFlag, 0);
}

TEST_F(SaveLoadTest, WidePictureIsSqueezedAndSmallOneEnlarged) {
  Raster wide(760, 380, Black);
  for (int y = 0; y < 380; ++y)
    for (int x = 0; x < 760; ++x) wide.At(x, y) = x < 380 ? MakeColour(200, 0, 0) : MakeColour(0, 0, 100);
  ASSERT_TRUE(WriteBmpFile(folder.File("wide.bmp"), wide).ok);
  LoadFrom(folder.File("wide.bmp"));
  EXPECT_EQ(Canvas().At(0, 0), MakeColour(200, 0, 0));
  EXPECT_EQ(Canvas().At(189, 379), MakeColour(200, 0, 0));  // the left half of the source in the left half
  EXPECT_EQ(Canvas().At(190, 0), MakeColour(0, 0, 100));

  Raster small(100, 100, MakeColour(0, 250, 0));
  ASSERT_TRUE(WriteBmpFile(folder.File("small.bmp"), small).ok);
  LoadFrom(folder.File("small.bmp"));
  for (Colour pixel : Canvas().pixels) ASSERT_EQ(pixel, MakeColour(0, 250, 0));
}

TEST_F(SaveLoadTest, UnreadableFileLeavesTheCanvasButUnticksRepeatAndReadsSettings) {
  PaintMarks();
  const Raster before = Canvas();
  WriteWholeFile(folder.File("notes.bmp"), "not a picture at all");
  WriteWholeFile(folder.File("notes.bmp.vlr"), "SampleRate = 8000\r\n");
  UiSetState(RepeatCheckbox, 1);
  LoadFrom(folder.File("notes.bmp"));
  EXPECT_TRUE(Canvas() == before);
  EXPECT_EQ(UiGetState(RepeatCheckbox), 0);
  EXPECT_EQ(UiGetState(SampleRateSlider), 8000);
}

TEST_F(SaveLoadTest, LoadedSettingsDriveTheNextSynthesisAndTheFileIsNotRewritten) {
  ASSERT_TRUE(WriteBmpFile(folder.File("pic.bmp"), Raster(380, 380, Black)).ok);
  const std::string path = folder.File("pic.bmp.vlr");
  const std::string content = "samplerate=8000\nSoundDuration = 2000\n";
  WriteWholeFile(path, content);
  AgeFile(path);
  LoadFrom(folder.File("pic.bmp"));
  EXPECT_EQ(UiGetState(SampleRateSlider), 8000);
  EXPECT_EQ(UiGetState(SoundDurationSlider), 2000);
  EXPECT_EQ(SynthSettings.SampleRate, 8000);
  EXPECT_EQ(SynthSettings.Duration, 2.0f);
  EXPECT_EQ(SynthSettings.SampleCount, 16000);
  EXPECT_EQ(ReadWholeFile(path), content);
  EXPECT_EQ(ModifiedSeconds(path), 1000000000);
}

TEST_F(SaveLoadTest, EmptyFrqToReadsAsZeroAndTheSliderTakesItsLowest) {
  LoadSettingsText(folder, "FrqTo =\r\n");
  EXPECT_EQ(UiGetState(FrqToSlider), 70);
  EXPECT_EQ(SynthSettings.FrqTo, 70);
  EXPECT_EQ(LastFrqTo, 70);
  EXPECT_EQ(SynthSettings.FrqFrom, 90);
  EXPECT_EQ(LastFrqFrom, 90);
}

TEST_F(SaveLoadTest, MissingKeysTakeTheirDefaults) {
  UiSetState(SampleRateSlider, 20000);
  UiSetState(DistBSlider, 60);
  UiSetState(DistributionCheckbox, 1);
  LoadSettingsText(folder, "; nothing here\r\n[Vellora]\r\nSampleRate = 8000\r\n");
  EXPECT_EQ(UiGetState(SampleRateSlider), 3000);  // the key after the group line is not found
  EXPECT_EQ(UiGetState(DistBSlider), 5);
  EXPECT_EQ(UiGetState(DistributionCheckbox), 0);
  EXPECT_EQ(SynthSettings.DistB, 0.05f);
  EXPECT_EQ(SynthSettings.SampleCount, 15000);
}

TEST_F(SaveLoadTest, DistributionValueTwoUnticksAndLeavesThePreviewBlack) {
  UiSetState(DistributionCheckbox, 1);
  SynthSettings.FrqDistribution = 1;
  FillCanvas(DistributionPreview, White);
  LoadSettingsText(folder, "FrqDistribution = 2\r\n");
  EXPECT_EQ(UiGetState(DistributionCheckbox), 0);
  EXPECT_EQ(SynthSettings.FrqDistribution, 0);
  for (Colour pixel : UiCanvasPicture(DistributionPreview)->pixels) ASSERT_EQ(pixel, Black);
}

TEST_F(SaveLoadTest, DistributionOneTicksAndDrawsTheCurveFromTheClampedSliders) {
  LoadSettingsText(folder, "FrqDistribution = 1\r\nFrqDistA = 500\r\nFrqDistB = -3\r\nFrqDistC = 30\r\n");
  EXPECT_EQ(UiGetState(DistributionCheckbox), 1);
  EXPECT_EQ(SynthSettings.FrqDistribution, 1);
  EXPECT_EQ(UiGetState(DistASlider), 99);
  EXPECT_EQ(SynthSettings.DistA, 0.99f);
  EXPECT_EQ(SynthSettings.DistB, 0.01f);
  EXPECT_EQ(SynthSettings.DistC, 0.30f);
  EXPECT_EQ(SynthSettings.DistD, 0.75f);
  int lit = 0;
  for (Colour pixel : UiCanvasPicture(DistributionPreview)->pixels) lit += pixel != Black;
  EXPECT_GT(lit, 0);
}

TEST_F(SaveLoadTest, BandPointsAreRestoredWithoutMarkingTheCurveEdited) {
  LoadSettingsText(folder, "FrqBandP1 = 0,70\r\nFrqBandP2 = 20,%101\r\nFrqBandP3 = 40\r\nFrqBandP4 = 40,$10\r\n"
                 "FrqBandP6 = 99999999999,-5\r\nFrqBandP7 =  130 , 35 \r\nFrqBandP8 = 160,1\r\n");
  const std::vector<StoredBandPoint> expected = {{0, 70}, {20, 5}, {40, 0}, {40, 16}, {0, 0},
                                                 {INT32_MAX, -5}, {130, 35}, {BandPoints()[7].x, 1}};
  EXPECT_EQ(BandPoints(), expected);  // the end points keep their x
  EXPECT_EQ(SynthSettings.BandCurveEdited, 0);
}

TEST_F(SaveLoadTest, NoSettingsFileLeavesEveryControlAsItWas) {
  UiSetState(SampleRateSlider, 12345);
  UiSetState(DistributionCheckbox, 1);
  const auto points = BandPoints();
  const SynthSettingsRecord before = SynthSettings;
  ASSERT_TRUE(WriteBmpFile(folder.File("pic.bmp"), Raster(380, 380, White)).ok);
  LoadFrom(folder.File("pic.bmp"));
  EXPECT_EQ(UiGetState(SampleRateSlider), 12345);
  EXPECT_EQ(UiGetState(DistributionCheckbox), 1);
  EXPECT_EQ(SynthSettings.SampleRate, before.SampleRate);
  EXPECT_EQ(BandPoints(), points);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.bmp"});
  EXPECT_EQ(Canvas().At(5, 5), White);
}

TEST_F(SaveLoadTest, SavedSettingsLoadBackIntoTheControls) {
  UiSetState(SampleRateSlider, 11025);
  UiSetState(SoundDurationSlider, 7500);
  UiSetState(FrqFromSlider, 200);
  UiSetState(FrqToSlider, 4000);
  UiSetState(DistDSlider, 33);
  auto points = BandPoints();
  points[4] = {77, 55};
  ImportBandPoints(BandLevelEditorNumber, points);
  const auto saved = BandPoints();
  SaveAs(folder.File("pic"), 0);

  for (int control : {SampleRateSlider, SoundDurationSlider, FrqFromSlider, FrqToSlider, DistDSlider})
    UiSetState(control, 0);
  ImportBandPoints(BandLevelEditorNumber, std::vector<StoredBandPoint>(8));
  LoadFrom(folder.File("pic.bmp"));
  EXPECT_EQ(UiGetState(SampleRateSlider), 11025);
  EXPECT_EQ(UiGetState(SoundDurationSlider), 7500);
  EXPECT_EQ(SynthSettings.FrqFrom, 200);
  EXPECT_EQ(SynthSettings.FrqTo, 4000);
  EXPECT_EQ(SynthSettings.DistD, 0.33f);
  EXPECT_EQ(SynthSettings.SampleCount, 82688);  // 11025 x 7.5 = 82687.5, half to even
  EXPECT_EQ(BandPoints(), saved);
}

TEST_F(SaveLoadTest, LongFileNamesAreKeptWhole) {
  std::string deep = folder.Path();
  for (int i = 0; i < 6; ++i) {
    deep += "/" + std::string(60, static_cast<char>('a' + i));
    ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
  }
  ASSERT_GT(deep.size(), 260u);
  PaintMarks();
  SaveAs(deep + "/pic", 0);
  EXPECT_EQ(std::filesystem::file_size(deep + "/pic.bmp"), 433254u);
  EXPECT_TRUE(std::filesystem::exists(deep + "/pic.bmp.vlr"));
}

}  // namespace
