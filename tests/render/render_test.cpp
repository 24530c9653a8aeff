// vellora-render run as a user runs it: its sound equals the program's, options override, errors are clear.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "picture/bmp_writer.h"
#include "picture/image_file.h"
#include "picture/raster_ops.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"
#include "support/app_fixture.h"
#include "support/sound_file_reader.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class RenderTool {
 public:
  RenderTool() {
    char pattern[] = "/tmp/vellora-render-XXXXXX";
    folder = mkdtemp(pattern);
  }
  ~RenderTool() { fs::remove_all(folder); }

  ToolRun operator()(const std::string& arguments) const {
    const fs::path out = folder / "stdout.txt", err = folder / "stderr.txt";
    const std::string command = std::string(VELLORA_RENDER_PATH) + " " + arguments + " >" + out.string() + " 2>" +
                                err.string();
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    fs::remove(out);
    fs::remove(err);
    return run;
  }

  std::string Path(const std::string& name) const { return (folder / name).string(); }

  // A picture with strokes of several colours, written as the bitmap Save writes.
  std::string WritePicture(const std::string& name, int size = 380) const {
    Raster picture(size, size);
    FillCircleOn(picture, size / 4, size / 3, size / 20, White);
    DrawLineOn(picture, 0, size - 1, size - 1, 0, MakeColour(200, 40, 90));
    FillRectOn(picture, size / 2, size / 2, size / 6, size / 10, MakeColour(10, 250, 60));
    WriteText(Path(name), EncodeBmp24(picture));
    return Path(name);
  }

  fs::path folder;
};

// The program's own sound for a picture file: Load it, then the synthesis steps of "Synthesize".
std::vector<float> ProgramSound(const std::string& image, bool bandCurveEdited) {
  AnswerNextFileDialog(image, 0);
  Click(LoadButton);
  SynthSettings.BandCurveEdited = bandCurveEdited ? 1 : 0;
  PrepareSynthesis();
  RenderSound();
  return SoundBuffer;
}

using RenderMatchesProgram = AppTest;

TEST_F(RenderMatchesProgram, StartUpSettingsGiveTheProgramsSamples) {
  RenderTool render;
  const std::string image = render.WritePicture("pic.bmp");
  const ToolRun run = render("\"" + image + "\" -o \"" + render.Path("out.wav") + "\"");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const ReadSound sound = ReadSoundFileBack(render.Path("out.wav"));
  ASSERT_TRUE(sound.ok);
  EXPECT_EQ(sound.sampleRate, 3000);
  EXPECT_EQ(sound.samples, ProgramSound(image, false));
  EXPECT_EQ(sound.samples.size(), 15001u);
}

TEST_F(RenderMatchesProgram, SettingsFileAndBandCurveAreUsedAsLoadUsesThem) {
  RenderTool render;
  const std::string image = render.WritePicture("pic.bmp", 500);
  WriteText(image + ".vlr",
            "SampleRate = 8000\r\nSoundDuration = 1500\r\nFrqFrom = 200\r\nFrqTo = 4000\r\nFrqDistribution = 1\r\n"
            "FrqDistA = 30\r\nFrqBandP1 = 0,70\r\nFrqBandP2 = 40,10\r\nFrqBandP5 = 90,60\r\nFrqBandP8 = 159,$20\r\n");
  for (bool bandCurve : {false, true}) {
    SCOPED_TRACE(bandCurve);
    const std::string out = render.Path(bandCurve ? "curve.wav" : "flat.wav");
    const ToolRun run = render("\"" + image + "\" -o \"" + out + "\"" + (bandCurve ? " --band-curve" : ""));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ReadSound sound = ReadSoundFileBack(out);
    EXPECT_EQ(sound.sampleRate, 8000);
    EXPECT_EQ(sound.samples.size(), 12001u);
    EXPECT_EQ(sound.samples, ProgramSound(image, bandCurve));
  }
  EXPECT_NE(ReadSoundFileBack(render.Path("curve.wav")).samples, ReadSoundFileBack(render.Path("flat.wav")).samples);
}

TEST(Render, OptionsOverrideTheSettingsFile) {
  RenderTool render;
  const std::string image = render.WritePicture("pic.bmp");
  WriteText(image + ".vlr", "SampleRate = 8000\r\nSoundDuration = 1500\r\n");
  const ToolRun run = render("\"" + image + "\" -o \"" + render.Path("o.wav") +
                         "\" --sample-rate 22050 --duration-ms 1000 --from 300 --to 600 --distribution 1,99,50,50");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const ReadSound sound = ReadSoundFileBack(render.Path("o.wav"));
  EXPECT_EQ(sound.sampleRate, 22050);
  EXPECT_EQ(sound.samples.size(), 22051u);
}

TEST(Render, FlacAndPcm16ReadBack) {
  RenderTool render;
  const std::string image = render.WritePicture("pic.bmp");
  ASSERT_EQ(render("\"" + image + "\" -o \"" + render.Path("a.wav") + "\"").exitCode, 0);
  ASSERT_EQ(render("\"" + image + "\" -o \"" + render.Path("b.wav") + "\" --format pcm16").exitCode, 0);
  ASSERT_EQ(render("\"" + image + "\" -o \"" + render.Path("c.flac") + "\"").exitCode, 0);
  const ReadSound exact = ReadSoundFileBack(render.Path("a.wav"));
  for (const char* name : {"b.wav", "c.flac"}) {
    SCOPED_TRACE(name);
    const ReadSound sound = ReadSoundFileBack(render.Path(name));
    ASSERT_TRUE(sound.ok);
    ASSERT_EQ(sound.samples.size(), exact.samples.size());
    for (std::size_t i = 0; i < exact.samples.size(); ++i)
      ASSERT_NEAR(sound.samples[i], exact.samples[i], 1.0 / 32767) << i;
  }
}

struct ErrorCase {
  const char* what;
  std::string arguments;
  int exitCode;
  const char* says;
};

TEST(Render, EveryErrorExitsWithItsCodeAndWritesNothing) {
  RenderTool render;
  const std::string image = render.WritePicture("pic.bmp");
  WriteText(render.Path("notes.bmp"), "just some text\n");
  const std::string out = render.Path("out.wav");
  WriteText(out, "an older file");
  const std::string q = "\"";
  const ErrorCase cases[] = {
      {"duration out of range", q + image + q + " -o " + q + out + q + " --duration-ms 999", 2, "--duration-ms"},
      {"rate out of range", q + image + q + " -o " + q + out + q + " --sample-rate 22051", 2, "--sample-rate"},
      {"From above To", q + image + q + " -o " + q + out + q + " --from 1500 --to 100", 2, "--from"},
      {"distribution value", q + image + q + " -o " + q + out + q + " --distribution 1,2,3,100", 2, "--distribution"},
      {"distribution count", q + image + q + " -o " + q + out + q + " --distribution 1,2,3", 2, "--distribution"},
      {"unknown option", q + image + q + " -o " + q + out + q + " --loud", 2, "--loud"},
      {"bad format", q + image + q + " -o " + q + out + q + " --format mp3", 2, "--format"},
      {"nothing to do", q + image + q, 2, "Nothing to do"},
      {"missing image", q + render.Path("none.bmp") + q + " -o " + q + out + q, 1, "none.bmp"},
      {"text named .bmp", q + render.Path("notes.bmp") + q + " -o " + q + out + q, 1, "notes.bmp"},
      {"missing settings", q + image + q + " -o " + q + out + q + " --settings " + q + render.Path("x.vlr") + q, 1,
       "x.vlr"},
      {"output folder missing", q + image + q + " -o " + q + render.Path("no/such.wav") + q, 1, "such.wav"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.what);
    const ToolRun run = render(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(ReadText(out), "an older file");
  }
  EXPECT_FALSE(fs::exists(render.Path("no")));
}

TEST(Render, HelpAndVersion) {
  RenderTool render;
  const ToolRun help = render("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: vellora-render"), std::string::npos);
  EXPECT_NE(help.out.find("--band-curve"), std::string::npos);
  const ToolRun version = render("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "vellora-render 1.0.0\n");
}

using RenderSavePicture = AppTest;

TEST_F(RenderSavePicture, WritesWhatTheProgramLoadsBack) {
  RenderTool render;
  const std::string image = render.WritePicture("big.bmp", 760);
  const std::string saved = render.Path("saved.bmp");
  const ToolRun run = render("\"" + image + "\" --save-picture \"" + saved + "\" --sample-rate 4000 --distribution 20,30,40,50");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(fs::file_size(saved), 433254u);
  const std::string settings = ReadText(saved + ".vlr");
  EXPECT_EQ(settings.rfind("SoundDuration = 5000\r\nSampleRate = 4000\r\n", 0), 0u) << settings;
  EXPECT_NE(settings.find("FrqDistribution = 1\r\nFrqDistA = 20\r\n"), std::string::npos);
  EXPECT_NE(settings.find("FrqBandP8 = 159,35\r\n"), std::string::npos);

  AnswerNextFileDialog(saved, 0);
  Click(LoadButton);
  EXPECT_EQ(CanvasOf(PaintCanvas), *ReadImageFileAt(saved));
  EXPECT_EQ(SynthSettings.SampleRate, 4000);
  EXPECT_EQ(SynthSettings.FrqDistribution, 1);
  EXPECT_EQ(SynthSettings.DistA, 0.2f);
}

}  // namespace
