// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: its controls and start state as the manual gives them, and each
// command's effects on the settings, the controls, the pictures and the files, with everything else left as it was.
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>
#include <QWindow>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include "picture/surface.h"
#include "sound/sound_file.h"
#include "support/alsa_capture.h"
#include "support/image_builders.h"
#include "support/raster_models.h"
#include "support/sound_file_reader.h"
#include "support/ui_driver.h"
#include "support/ui_window_state.h"

namespace {

namespace fs = std::filesystem;
using Window = AppTest;
std::string n(long value) { return std::to_string(value); }

std::string KindOf(QWidget* w) {
  if (auto* b = qobject_cast<QPushButton*>(w)) return b->isCheckable() ? "toggle" : b->icon().isNull() ? "button" : "image";
  if (auto* s = qobject_cast<QSlider*>(w)) return s->orientation() == Qt::Vertical ? "vslider" : "hslider";
  return qobject_cast<QCheckBox*>(w) ? "checkbox" : qobject_cast<QSpinBox*>(w) ? "spin" : qobject_cast<QLabel*>(w) ? "label"
         : qobject_cast<QGroupBox*>(w) ? "frame" : UiCanvasPicture(UiControlOf(w)) ? "canvas" : "?";
}

std::string TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  return qobject_cast<QGroupBox*>(w) ? qobject_cast<QGroupBox*>(w)->title().toStdString() : "";
}

const std::vector<BandPoint> StartCurve = {{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35}, {111, 35}, {133, 35}, {159, 35}};

TEST_F(Window, ControlsMenusAndEverySettingStartAsTheManualSays) {
  for (const WindowControl& c : WindowControls) {
    QWidget* w = UiWidget(c.number);
    ASSERT_TRUE(w) << c.name;
    const auto* slider = qobject_cast<QAbstractSlider*>(w);
    const auto* spin = qobject_cast<QSpinBox*>(w);
    const int low = slider ? slider->minimum() : spin ? spin->minimum() : 0;
    const int high = slider ? slider->maximum() : spin ? spin->maximum() : 0;
    EXPECT_EQ(std::tuple(KindOf(w), w->geometry(), TextOf(w), low, high),
              std::tuple(c.kind, QRect(c.x, c.y, c.width, c.height), c.text, c.minimum, c.maximum)) << c.name;
  }
  QWidget* editor = UiWidget(BandLevelEditorNumber);
  EXPECT_TRUE(editor && (BandLevelEditorNumber < 0 || BandLevelEditorNumber > 28) && KindOf(editor) == "canvas");
  EXPECT_EQ(editor->geometry(), QRect(530, 310, 160, 70));
  EXPECT_EQ(std::tuple(UiWindowWidget(MainWindow)->windowTitle(), UiClientArea(MainWindow)->size(),
                       UiWindowWidget(MainWindow)->minimumSize() == UiWindowWidget(MainWindow)->maximumSize(),
                       UiWidget(PaintCanvas)->cursor().shape(), static_cast<QSpinBox*>(UiWidget(BrushSizeSpin))->text()),
            std::tuple("Vellora", QSize(720, 425), true, Qt::CrossCursor, "8"));
  QStringList menus;
  for (QAction* title : UiWindowWidget(MainWindow)->findChild<QMenuBar*>()->actions())
    for (QAction* item : title->menu()->actions()) menus << title->text() + "/" + item->text();
  EXPECT_EQ(menus.join("|"), "File/Import Sound...|File/Export Sound...|File/Exit|?/About|?/Help");
  WindowState start = {
      {"SampleRate", "3000"}, {"Duration", "5"}, {"SampleCount", "15000"}, {"FrqFrom", "90"}, {"FrqTo", "9000"},
      {"FrqDistribution", "0"}, {"DistA", "0.5"}, {"DistB", Shown(0.05f)}, {"DistC", "0.75"}, {"DistD", "0.75"},
      {"BandCurveEdited", "0"}, {"PhaseFactor", "6"}, {"BrushColor", n(0xFFFFFF)}, {"Tool", "3"}, {"LineStartX", "0"},
      {"LineStartY", "0"}, {"LastFrqFrom", "90"}, {"LastFrqTo", "9000"}, {"RepeatFlag", "0"}, {"QuitFlag", "0"},
      {"SoundBuffer", "1 samples *"}, {"PaintCanvas picture", Shown(Raster(380, 380))},
      {"DistributionPreview picture", Shown(Raster(160, 70))}, {"CanvasImage", Shown(Raster(380, 380))},
      {"SwatchImage", Shown(Raster(35, 35, White))}, {"ColorButton face", "#ffffff"}, {"HelpWindow open", "0"},
      {"BandLevelEditor points", Shown(StartCurve)}, {"BandLevelEditor picture", Shown(BandEditorModel(StartCurve))}};
  for (const WindowControl& c : WindowControls)
    if (c.start >= 0) start[c.name] = n(c.start);
  EXPECT_EQ(StateDifferences(start, TakeWindowState()), "");
}

// Started with the default output captured, so that Synthesize plays at once.
class Commands : public AppTest {
 protected:
  AlsaCapture capture;
  void SetUp() override {
    ASSERT_TRUE(capture.Ready());
    AppTest::SetUp();
  }
};

struct Rule {
  const char* rule;
  bool repeatBefore;  // Repeat ticked (by a click) before the action, else unticked
  std::function<void()> act;
  std::function<void(WindowState&)> effects = [](WindowState&) {};  // applied to the state before the action
};

Raster before;  // the canvas picture before the action

// Each action changes the state before it by its effects and nothing else.
void Check(const std::vector<Rule>& rules) {
  for (const Rule& r : rules) {
    if (UiGetState(RepeatCheckbox) != r.repeatBefore) Click(RepeatCheckbox);
    WindowState expected = TakeWindowState();
    before = CanvasOf(PaintCanvas);
    r.act();
    r.effects(expected);
    EXPECT_EQ(StateDifferences(expected, TakeWindowState()), "") << r.rule;
  }
}

void Untick(WindowState& e) { e["RepeatFlag"] = e["RepeatCheckbox"] = "0"; }
void Paints(WindowState& e, const Raster& picture) { e["PaintCanvas picture"] = Shown(picture); }
// A press on the canvas: Repeat unticked, the picture before it kept, the line's start taken.
void Pressed(WindowState& e, int x, int y) { Untick(e), e["CanvasImage"] = Shown(before), e["LineStartX"] = n(x), e["LineStartY"] = n(y); }
void ShowsCurve(WindowState& e) {
  auto f = [&e](const char* key) { return double(std::stof(e[key])); };
  e["DistributionPreview picture"] = Shown(PreviewModel(f("DistA"), f("DistB"), f("DistC"), f("DistD")));
}
void SetsPoint(WindowState& e, int index, BandPoint to) {
  std::vector<BandPoint> points = FindBandLevelEditor(BandLevelEditorNumber)->points;
  points[index] = to;
  Untick(e), e["BandCurveEdited"] = "1", e["BandLevelEditor points"] = Shown(points);
  e["BandLevelEditor picture"] = Shown(BandEditorModel(points));
}
Raster Disc(Raster picture, int x, int y, int r, Colour colour) { return raster_models::AddDisc(picture, x, y, r, colour), picture; }
std::string ReadAll(const fs::path& file) { std::ifstream in(file, std::ios::binary); return {std::istreambuf_iterator<char>(in), {}}; }

// The settings Load takes from a settings file, into the sliders, the box, their fields, the preview and the curve.
constexpr const char* Loaded[] = {"SoundDurationSlider", "SampleRateSlider", "FrqFromSlider", "FrqToSlider",
    "DistributionCheckbox", "DistASlider", "DistBSlider", "DistCSlider", "DistDSlider", "SampleRate", "Duration",
    "SampleCount", "FrqFrom", "FrqTo", "LastFrqFrom", "LastFrqTo", "FrqDistribution", "DistA", "DistB", "DistC",
    "DistD", "DistributionPreview picture", "BandLevelEditor points", "BandLevelEditor picture"};
// The sliders' values as Save writes them, and Load reads them, under their keys, in this order.
constexpr std::pair<const char*, const char*> Keys[] = {{"SoundDuration", "SoundDurationSlider"},
    {"SampleRate", "SampleRateSlider"}, {"FrqFrom", "FrqFromSlider"}, {"FrqTo", "FrqToSlider"},
    {"FrqDistribution", "DistributionCheckbox"}, {"FrqDistA", "DistASlider"}, {"FrqDistB", "DistBSlider"},
    {"FrqDistC", "DistCSlider"}, {"FrqDistD", "DistDSlider"}};

TEST_F(Commands, EachChangesWhatItSaysAndNothingElse) {
  std::vector<Rule> rules;
  auto count = [](int rate, int ms) { return n(std::lround(std::nearbyint(rate * double(float(ms / 1000.0))))); };
  for (auto [control, value, rate, ms] : {std::array<int, 4>{SoundDurationSlider, 2000, 3000, 2000},
       {SampleRateSlider, 22050, 22050, 2000}, {SoundDurationSlider, 1001, 22050, 1001}, {SampleRateSlider, 11025, 11025, 1001}})
    rules.push_back({"Sound Duration and Sample Rate set Duration or SampleRate, and SampleCount", true,
                     [=] { SetByUser(control, value); }, [=](WindowState& e) {
                       Untick(e), e[NameOf(control)] = n(value), e["SampleRate"] = n(rate), e["SampleCount"] = count(rate, ms);
                       e["Duration"] = Shown(float(ms / 1000.0));
                     }});
  for (auto [control, movedTo, from, to] : {std::array<int, 4>{FrqToSlider, 1000, 90, 1000}, {FrqFromSlider, 1400, 1000, 1000},
       {FrqToSlider, 1100, 1000, 1100}, {FrqToSlider, 500, 1000, 1000}, {FrqFromSlider, 300, 300, 1000},
       {FrqToSlider, 200, 300, 300}, {FrqToSlider, 4000, 300, 4000}})
    rules.push_back({"Frq From stays at or below Frq To, each where the other stopped it", true,
                     [=] { SetByUser(control, movedTo); }, [=](WindowState& e) {
                       Untick(e), e["FrqFromSlider"] = e["FrqFrom"] = e["LastFrqFrom"] = n(from);
                       e["FrqToSlider"] = e["FrqTo"] = e["LastFrqTo"] = n(to);
                     }});
  const char* fractions[] = {"DistA", "DistB", "DistC", "DistD"};
  for (int ticked : {0, 1}) {
    for (int k = 0; k < 4; ++k)
      rules.push_back({"each distribution slider sets its own fraction; the preview follows while the box is ticked", true,
                       [=] { SetByUser(DistASlider + k, 20 + 15 * k + 7 * ticked); }, [=](WindowState& e) {
                         Untick(e), e[NameOf(DistASlider + k)] = n(20 + 15 * k + 7 * ticked);
                         e[fractions[k]] = Shown(float((20 + 15 * k + 7 * ticked) / 100.0));
                         if (ticked) ShowsCurve(e);
                       }});
    rules.push_back({"Enable Frequency Distribution sets FrqDistribution; the preview shows the curve, or black", true,
                     [] { Click(DistributionCheckbox); }, [=](WindowState& e) {
                       Untick(e), e["DistributionCheckbox"] = e["FrqDistribution"] = n(!ticked);
                       ticked ? void(e["DistributionPreview picture"] = Shown(Raster(160, 70))) : ShowsCurve(e);
                     }});
  }
  const Colour colour = MakeColour(200, 40, 90);
  rules.insert(rules.end(), {
      {"the brush size is only read by the brush", true, [] { SetByUser(BrushSizeSpin, 3); },
       [](WindowState& e) { e["BrushSizeSpin"] = "3"; }},
      {"a colour chosen is the brush's and the swatch's", true, [&] { AnswerColourDialog(colour), Click(ColorButton); },
       [&](WindowState& e) {
         e["BrushColor"] = n(colour), e["SwatchImage"] = Shown(Raster(35, 35, colour)), e["ColorButton face"] = "#c8285a";
       }},
      {"a cancelled colour changes nothing", true, [] { AnswerColourDialog(std::nullopt), Click(ColorButton); }},
      {"a brush stroke paints a disc at the press and at each move", true, [] { Drag(PaintCanvas, {{100, 100}, {150, 60}}); },
       [&](WindowState& e) { Pressed(e, 100, 100), Paints(e, Disc(Disc(before, 100, 100, 3, colour), 150, 60, 3, colour)); }},
      {"moves without a button, and the right button, paint nothing", true, [] {
         MouseOn(PaintCanvas, MouseStep::Move, {250, 250}), Pump();
         for (MouseStep step : {MouseStep::Press, MouseStep::Move, MouseStep::Release})
           MouseOn(PaintCanvas, step, {200, 200 + int(step)}, Qt::RightButton), Pump();
       }},
      {"the Line toggle is the tool", true, [] { Click(LineToggle); },
       [](WindowState& e) { e["Tool"] = "4", e["LineToggle"] = "1", e["BrushToggle"] = "0"; }},
      {"the pressed toggle stays pressed", true, [] { Click(LineToggle); }},
      {"a line follows the pointer over the picture as it was at the press", true,
       [] { Drag(PaintCanvas, {{10, 10}, {200, 50}, {50, 300}}); }, [&](WindowState& e) {
         Raster after = before;
         for (auto [x, y] : raster_models::LinePixels(380, 380, 10, 10, 50, 300)) after.At(x, y) = colour;
         Pressed(e, 10, 10), Paints(e, after);
       }},
      {"a line pressed and released in place is one pixel", true, [] { Drag(PaintCanvas, {{300, 20}}); },
       [&](WindowState& e) { Raster after = before; after.At(300, 20) = colour, Pressed(e, 300, 20), Paints(e, after); }},
      {"the Brush toggle is the tool", true, [] { Click(BrushToggle); },
       [](WindowState& e) { e["Tool"] = "3", e["LineToggle"] = "0", e["BrushToggle"] = "1"; }},
      {"a double click is two presses, the second keeping the first's disc", true,
       [] { MouseOn(PaintCanvas, MouseStep::DoubleClick, {300, 250}), Pump(); }, [&](WindowState& e) {
         before = Disc(before, 300, 250, 3, colour);
         Pressed(e, 300, 250), Paints(e, before);
       }},
      {"Rotate turns the picture a quarter clockwise", true, [] { Click(RotateButton); }, [](WindowState& e) {
         Raster turned(380, 380);
         for (int y = 0; y < 380; ++y)
           for (int x = 0; x < 380; ++x) turned.At(379 - y, x) = before.At(x, y);
         Untick(e), Paints(e, turned);
       }},
      {"pointing at the canvas, a slider, the band level editor and off them changes nothing", true, [] {
         for (auto [control, at] : {std::pair<int, QPoint>{PaintCanvas, {58, 200}}, {SampleRateSlider, {90, 10}},
                                    {BandLevelEditorNumber, {80, 35}}, {PaintCanvas, {385, 383}}})
           MouseOn(control, MouseStep::Move, at), Pump();
       }},
      {"a press beside every band point moves nothing", true, [] { Drag(BandLevelEditorNumber, {{10, 5}, {10, 60}}); }},
      {"a press and release on a band point puts the curve in use", true, [] { Drag(BandLevelEditorNumber, {{66, 35}}); },
       [](WindowState& e) { Untick(e), e["BandCurveEdited"] = "1"; }},
      {"a dragged band point follows the pointer", true, [] { Drag(BandLevelEditorNumber, {{66, 35}, {66, 10}}); },
       [](WindowState& e) { SetsPoint(e, 3, {66, 10}); }},
      {"off the editor, a held band point follows along its edge", true,
       [] { Drag(BandLevelEditorNumber, {{89, 35}, {89, -40}}); }, [](WindowState& e) { SetsPoint(e, 4, {89, 0}); }},
      {"the last band point goes to the right edge's outside", true,
       [] { Drag(BandLevelEditorNumber, {{159, 35}, {140, 50}}); }, [](WindowState& e) { SetsPoint(e, 7, {160, 50}); }},
      {"the preview, labels, frame, other kinds of events and the help window's menu events do nothing", true, [] {
         for (int control : {DistributionPreview, FrqFromLabel, SoundFrame, BandLevelLabel}) Drag(control, {{5, 5}, {9, 9}});
         HandleEvent({EventKind::Other, MainWindow}), HandleEvent({EventKind::Menu, HelpWindow, ExitItem});
       }},
  });
  Check(rules);
}

TEST_F(Commands, FilesSoundAndMenusChangeWhatTheySayAndNothingElse) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("vellora-commands-" + std::to_string(getpid()));
  fs::create_directories(folder / "gone");
  const std::string dot = BuildBmp({.width = 1, .height = 1, .pixels = std::string("\x1e\xc8\x0a\0", 4)});
  std::ofstream(folder / "dot.bmp", std::ios::binary) << dot, std::ofstream(folder / "plain.bmp", std::ios::binary) << dot;
  std::ofstream(folder / "dot.bmp.vlr") << "SoundDuration = 3000\r\nsamplerate=99999\r\nFrqFrom = 200\r\nFrqTo = 7000\r\n"
      "FrqDistribution = 1\r\nFrqDistA = 10\r\nFrqDistB = 20\r\nFrqDistC = 30\r\nFrqDistD = 90\r\nFrqBandP2 = 30,60\r\n"
      "FrqBandP8 = 10,5\r\n";
  std::ofstream(folder / "words.bmp") << "not a picture", std::ofstream(folder / "words.bmp.vlr") << "SoundDuration = 7000\r\n";
  const std::string sound = (folder / "tone.wav").string(), cut = (folder / "cut.wav").string();
  ASSERT_TRUE(WriteSoundFile(sound, std::vector<float>(8000, 0.5f), 8000, SoundFileFormat::FloatWav).ok);
  std::ofstream(cut) << ReadAll(sound).substr(0, 100);
  Drag(PaintCanvas, {{40, 60}, {300, 200}}), SetByUser(SampleRateSlider, 11025), SetByUser(FrqToSlider, 4000);
  SetByUser(DistBSlider, 30), Drag(BandLevelEditorNumber, {{66, 35}, {66, 10}});
  WindowState saved;
  std::string title, text;
  auto says = [&](std::string shown) { return [&, shown](WindowState&) { EXPECT_EQ(title + "|" + text.substr(0, shown.size() - title.size() - 1), shown); }; };
  Check({
      {"Export before any sound says so", true, [&] { DismissMessageBox(&title, &text), Menu("File", "Export Sound..."); },
       says("Export Sound|Press Synthesize first: there is no sound to export yet.")},
      {"Save writes the picture and its settings file, and changes nothing", true,
       [&] { AnswerFileDialog((folder / "pic").string()), Click(SaveButton); }, [&](WindowState& e) {
         saved = e;
         std::string settings;
         for (auto [key, control] : Keys) settings += std::string(key) + " = " + e[control] + "\r\n";
         for (int i = 0; const BandPoint& p : FindBandLevelEditor(BandLevelEditorNumber)->points)
           settings += "FrqBandP" + n(++i) + " = " + n(p.x) + "," + n(70 - p.y) + "\r\n";
         EXPECT_EQ(std::pair(fs::file_size(folder / "pic.bmp"), ReadAll(folder / "pic.bmp.vlr")), std::pair(433254ul, settings));
       }},
      {"a cancelled Save changes nothing", true, [] { AnswerFileDialog(""), Click(SaveButton); }},
      {"a Save that fails says so and changes nothing", true, [&] {
         AnswerFileDialog((folder / "gone/pic.bmp").string(), [&] { fs::remove(folder / "gone"); });
         DismissMessageBox(&title, &text), Click(SaveButton);
       }, says("Save|The picture could not be saved as " + (folder / "gone/pic.bmp").string())},
  });
  Click(ClearButton), Click(DistributionCheckbox), SetByUser(SoundDurationSlider, 9000), SetByUser(FrqFromSlider, 500);
  SetByUser(DistDSlider, 10), Drag(BandLevelEditorNumber, {{44, 35}, {44, 60}});
  Check({
      {"Load shows the picture and takes the settings saved beside it", true,
       [&] { AnswerFileDialog((folder / "pic.bmp").string()), Click(LoadButton); }, [&](WindowState& e) {
         for (const char* key : Loaded) e[key] = saved[key];
         Untick(e), e["PaintCanvas picture"] = saved["PaintCanvas picture"];
       }},
      {"Load takes each value within its slider's range, the curve's inner x and every height", true,
       [&] { AnswerFileDialog((folder / "dot.bmp").string()), Click(LoadButton); }, [&](WindowState& e) {
         const int values[] = {3000, 22050, 200, 7000, 1, 10, 20, 30, 90};
         for (int i = 0; auto [key, control] : Keys) e[control] = n(values[i++]);
         e["SampleRate"] = "22050", e["Duration"] = "3", e["SampleCount"] = "66150", e["FrqDistribution"] = "1";
         e["FrqFrom"] = e["LastFrqFrom"] = "200", e["FrqTo"] = e["LastFrqTo"] = "7000";
         e["DistA"] = Shown(0.1f), e["DistB"] = Shown(0.2f), e["DistC"] = Shown(0.3f), e["DistD"] = Shown(0.9f);
         std::vector<BandPoint> points(8, {0, 70});
         points[1] = {30, 10}, points[7] = {FindBandLevelEditor(BandLevelEditorNumber)->points[7].x, 65};
         e["BandLevelEditor points"] = Shown(points), e["BandLevelEditor picture"] = Shown(BandEditorModel(points));
         Untick(e), ShowsCurve(e), Paints(e, Raster(380, 380, MakeColour(10, 200, 30)));
       }},
      {"Load of a picture with no settings file beside it changes only the picture", true,
       [&] { Click(ClearButton), AnswerFileDialog((folder / "plain.bmp").string()), Click(LoadButton); },
       [&](WindowState& e) { Untick(e), Paints(e, Raster(380, 380, MakeColour(10, 200, 30))); }},
      {"Load of a file that is no picture keeps the canvas and takes the settings beside it, missing keys at their "
       "start values", true, [&] { AnswerFileDialog((folder / "words.bmp").string()), Click(LoadButton); },
       [&](WindowState& e) {
         const int values[] = {7000, 3000, 90, 9000, 0, 50, 5, 75, 75};
         for (int i = 0; auto [key, control] : Keys) e[control] = n(values[i++]);
         e["SampleRate"] = "3000", e["Duration"] = "7", e["SampleCount"] = "21000", e["FrqDistribution"] = "0";
         e["FrqFrom"] = e["LastFrqFrom"] = "90", e["FrqTo"] = e["LastFrqTo"] = "9000";
         e["DistA"] = "0.5", e["DistB"] = Shown(0.05f), e["DistC"] = e["DistD"] = "0.75";
         std::vector<BandPoint> points(8, {0, 70});
         points[7].x = FindBandLevelEditor(BandLevelEditorNumber)->points[7].x;
         e["BandLevelEditor points"] = Shown(points), e["BandLevelEditor picture"] = Shown(BandEditorModel(points));
         Untick(e), e["DistributionPreview picture"] = Shown(Raster(160, 70));
       }},
      {"Load of a name with no file unticks Repeat only", true,
       [&] { AnswerFileDialog((folder / "none.bmp").string()), Click(LoadButton); }, Untick},
      {"a cancelled Load changes nothing", true, [] { AnswerFileDialog(""), Click(LoadButton); }},
      {"Synthesize keeps the picture for the cursor, makes the sound and leaves Repeat unticked", false,
       [] { Drag(PaintCanvas, {{200, 200}}), Click(SynthesizeButton); },
       [&](WindowState& e) {
         Untick(e), e["LineStartX"] = e["LineStartY"] = "200", Paints(e, Disc(before, 200, 200, 8, White));
         e["CanvasImage"] = e["PaintCanvas picture"], e["SoundBuffer"] = n(std::stol(e["SampleCount"]) + 1) + " samples *";
       }},
      {"with Repeat ticked, Synthesize keeps the picture and replays the same sound, Repeat still ticked", true,
       [] { Click(SynthesizeButton); }, [](WindowState& e) { e["CanvasImage"] = e["PaintCanvas picture"]; }},
      {"Export writes the last sound at the rate it was played at and changes nothing", true,
       [&] { AnswerFileDialog((folder / "out").string()), Menu("File", "Export Sound..."); }, [&](WindowState& e) {
         const SoundFileContents written = ReadSoundFile((folder / "out.wav").string());
         EXPECT_EQ(std::pair(written.sampleRate, written.samples), std::pair(3000, SoundBuffer));
       }},
      {"a cancelled Import changes nothing", true,
       [&] { AnswerFileDialog(sound), AnswerImportDialog({}, false), Menu("File", "Import Sound..."); }},
      {"Import draws the sound and sets Sound Duration and Sample Rate to its own", true,
       [&] { AnswerFileDialog(sound), AnswerImportDialog({}, true), Menu("File", "Import Sound..."); }, [](WindowState& e) {
         Untick(e), e["PaintCanvas picture"] = "380x380 *", e["SoundDurationSlider"] = "1000", e["Duration"] = "1";
         e["SampleRateSlider"] = e["SampleRate"] = e["SampleCount"] = "8000";
       }},
      {"Import of a broken sound says why and changes nothing", true,
       [&] { AnswerFileDialog(cut), DismissMessageBox(&title, &text), Menu("File", "Import Sound..."); },
       says("Import Sound|Could not import " + cut + ": ")},
      {"About names the program", true, [&] { DismissMessageBox(&title, &text), Menu("?", "About"); },
       says("About Vellora|Vellora 1.0\nPaint a picture and hear it.")},
      {"Help opens the help window", true, [] { Menu("?", "Help"); }, [](WindowState& e) { e["HelpWindow open"] = "1"; }},
      {"Help again leaves one help window", true, [] { Menu("?", "Help"); }},
      {"the help window's close box closes it alone", true,
       [] { UiWindowWidget(HelpWindow)->windowHandle()->close(), Pump(); }, [](WindowState& e) { e["HelpWindow open"] = "0"; }},
      {"Exit ends the loop", true, [] { Menu("File", "Exit"); }, [](WindowState& e) { e["QuitFlag"] = "1"; }},
  });
  QuitFlag = 0, Menu("?", "Help");
  Check({{"the main window's close box ends the loop, the help window open", true,
          [] { UiWindowWidget(MainWindow)->windowHandle()->close(), Pump(); }, [](WindowState& e) { e["QuitFlag"] = "1"; }}});
  fs::remove_all(folder);
}

TEST_F(Window, ScanCursorIsOneWhiteColumnOverTheSnapshotAndPastTheRightEdgeOnlyRestores) {
  Drag(PaintCanvas, {{20, 30}}), Drag(PaintCanvas, {{200, 100}});  // this press keeps the disc at (20, 30)
  Raster expected = *ImageHandle(CanvasImage);
  for (int y = 0; y < CanvasSize; ++y) expected.At(17, y) = White;
  DrawScanCursor(17);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
  DrawScanCursor(CanvasSize);
  EXPECT_EQ(CanvasOf(PaintCanvas), *ImageHandle(CanvasImage));
}

// A drag off the paint canvas or the preview keeps the pointer on their edge; off the band level editor the pointer
// goes where it is moved (the editor once held it too).
TEST_F(Window, OnlyThePaintCanvasAndThePreviewHoldThePointer) {
  const std::pair<int, bool> holding[] = {{PaintCanvas, true}, {DistributionPreview, true}, {BandLevelEditorNumber, 0}};
  for (auto [control, confined] : holding) {
    const QPoint before = QCursor::pos();
    MouseOn(control, MouseStep::Press, {66, 35}), MouseOn(control, MouseStep::Move, {66, -40}), Pump();
    EXPECT_EQ(QCursor::pos(), confined ? UiWidget(control)->mapToGlobal(QPoint(66, 0)) : before) << control;
    MouseOn(control, MouseStep::Release, {66, -40}), Pump();
  }
}

TEST(WithoutDisplay, TheProgramEndsQuietlyWithStatusZero) {
  const std::string printed = ::testing::TempDir() + "vellora-without-display.txt";
  const std::string command = std::string("env -i PATH=/usr/bin:/bin DISPLAY=:97 timeout 60 ") + VELLORA_PROGRAM_PATH;
  const int status = std::system((command + " >" + printed + " 2>&1").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::ifstream output(printed);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(output), {}), "");
}

}  // namespace
