// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: its controls and start state as the manual gives them, and each
// command's effects on the settings, the controls, the pictures and the files, everything else left as it was.
#include <QCursor>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QTextEdit>
#include <QWindow>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "distribution/frequency_mapping.h"
#include "picture/surface.h"
#include "sound/fast_render.h"
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
// Sets each "key=value" of changes in state; "unticks" stands for Repeat unticked.
void Apply(WindowState& state, const std::string& changes) {
  std::istringstream in(changes);
  for (std::string change; in >> change;)
    change == "unticks" ? void(state["RepeatFlag"] = state["RepeatCheckbox"] = "0")
                        : void(state[change.substr(0, change.find('='))] = change.substr(change.find('=') + 1));
}
std::string ReadAll(const fs::path& file) { std::ifstream in(file); return {std::istreambuf_iterator<char>(in), {}}; }

std::string KindOf(QWidget* w) {
  std::string type = w->metaObject()->className();
  if (type == "QPushButton")
    type += w->property("checkable").toBool() ? "Toggle" : w->property("icon").value<QIcon>().isNull() ? "" : "Image";
  if (type == "QSlider") type += w->property("orientation").toInt() == Qt::Vertical ? "Vertical" : "";
  const std::map<std::string, std::string> kinds = {{"QPushButton", "button"}, {"QPushButtonToggle", "toggle"},
      {"QPushButtonImage", "image"}, {"QSlider", "hslider"}, {"QSliderVertical", "vslider"}, {"QCheckBox", "checkbox"},
      {"QSpinBox", "spin"}, {"QLabel", "label"}, {"QGroupBox", "frame"}};
  return kinds.count(type) ? kinds.at(type) : UiCanvasPicture(UiControlOf(w)) ? "canvas" : type;
}

TEST_F(Window, ControlsMenusAndEverySettingStartAsTheManualSays) {
  const std::vector<BandPoint> curve = {{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35}, {111, 35}, {133, 35}, {159, 35}};
  WindowState start = {{"DistB", Shown(0.05f)}, {"BrushColor", n(White)}, {"SwatchImage", Shown(Raster(35, 35, White))},
      {"PaintCanvas", Shown(Raster(380, 380))}, {"CanvasImage", Shown(Raster(380, 380))}, {"BandPoints", Shown(curve)},
      {"DistributionPreview", Shown(Raster(160, 70))}, {"BandLevelEditor", Shown(BandEditorModel(curve))}};
  Apply(start, "SampleRate=3000 Duration=5 SampleCount=15000 FrqFrom=90 FrqTo=9000 FrqDistribution=0 DistA=0.5 DistC=0.75 "
               "DistD=0.75 BandCurveEdited=0 PhaseFactor=6 Tool=3 LineStartX=0 LineStartY=0 LastFrqFrom=90 SoundBuffer=1#* "
               "LastFrqTo=9000 RepeatFlag=0 QuitFlag=0 ColorButtonFace=#ffffff HelpWindows=0");
  for (const WindowControl& c : WindowControls) {
    QWidget* w = UiWidget(c.number);
    ASSERT_TRUE(w) << c.name;
    if (c.start >= 0) start[c.name] = n(c.start);
    const QVariant text = w->property("text").isValid() ? w->property("text") : w->property("title");
    EXPECT_EQ(std::tuple(KindOf(w), w->geometry(), text.toString().toStdString(), w->property("minimum").toInt(),
                         w->property("maximum").toInt()),
              std::tuple(c.kind, QRect(c.x, c.y, c.width, c.height), c.text, c.minimum, c.maximum)) << c.name;
  }
  EXPECT_EQ(StateDifferences(start, TakeWindowState()), "");
  QWidget *editor = UiWidget(BandLevelEditorNumber), *window = UiWindowWidget(MainWindow);
  EXPECT_TRUE(BandLevelEditorNumber < 0 || BandLevelEditorNumber > 28);
  EXPECT_EQ(UiClientArea(MainWindow)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).first(), UiWidget(SoundFrame));
  EXPECT_LE((window->frameGeometry().center() - window->screen()->availableGeometry().center()).manhattanLength(), 2);
  EXPECT_EQ(std::tuple(KindOf(editor), editor->geometry(), window->windowTitle(), UiClientArea(MainWindow)->size(),
                       window->minimumSize() == window->maximumSize(), UiWidget(PaintCanvas)->cursor().shape()),
            std::tuple("canvas", QRect(530, 310, 160, 70), "Vellora", QSize(720, 425), true, Qt::CrossCursor));
  QStringList menus;
  for (QAction* title : window->findChild<QMenuBar*>()->actions())
    for (QAction* item : title->menu()->actions()) menus << title->text() + "/" + item->text();
  EXPECT_EQ(menus.join("|"), "File/Import Sound...|File/Import MIDI...|File/Export Sound...|File/Export MIDI...|File/Exit|?/About|?/Help");
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

using Effects = std::function<void(WindowState&)>;
struct Rule {
  std::string rule;
  bool repeatBefore;  // Repeat ticked (by a click) before the action, else unticked
  std::function<void()> act;
  std::string changes;  // "key=value ..." set in the state before the action; then more, if any
  Effects more = {};
};
Raster before;  // the canvas picture before the action

// Each action changes the state before it by what its rule says, and nothing else.
void Check(const std::vector<Rule>& rules) {
  for (const Rule& r : rules) {
    if (UiGetState(RepeatCheckbox) != r.repeatBefore) Click(RepeatCheckbox);
    WindowState expected = TakeWindowState();
    before = CanvasOf(PaintCanvas);
    r.act();
    Apply(expected, r.changes);
    if (r.more) r.more(expected);
    EXPECT_EQ(StateDifferences(expected, TakeWindowState()), "") << r.rule;
  }
}

// What paint draws over the picture before the action; for a press at (x, y) Repeat is unticked too, the picture before
// it is kept and the line starts there.
Effects Paints(std::function<void(Raster&)> paint, int x = -1, int y = -1) {
  return [=](WindowState& e) {
    Raster after = before;
    paint(after), e["PaintCanvas"] = Shown(after);
    if (x >= 0) Apply(e, "unticks LineStartX=" + n(x) + " LineStartY=" + n(y) + " CanvasImage=" + Shown(before));
  };
}
void ShowsCurve(WindowState& e) {
  auto f = [&e](const char* key) { return double(std::stof(e[key])); };
  e["DistributionPreview"] = Shown(PreviewModel(f("DistA"), f("DistB"), f("DistC"), f("DistD")));
}
std::string Points(const std::vector<BandPoint>& points) {
  return " BandPoints=" + Shown(points) + " BandLevelEditor=" + Shown(BandEditorModel(points));
}
Effects Moved(int index, BandPoint to) {
  return [=](WindowState& e) {
    std::vector<BandPoint> points = FindBandLevelEditor(BandLevelEditorNumber)->points;
    points[index] = to;
    Apply(e, "unticks BandCurveEdited=1" + Points(points));
  };
}

TEST_F(Commands, EachChangesWhatItSaysAndNothingElse) {
  std::vector<Rule> rules;
  for (auto [control, value, rate, ms] : {std::array<int, 4>{SoundDurationSlider, 2000, 3000, 2000},
       {SampleRateSlider, 22050, 22050, 2000}, {SoundDurationSlider, 1001, 22050, 1001}, {SampleRateSlider, 11025, 11025, 1001}})
    rules.push_back({"Sound Duration and Sample Rate set Duration or SampleRate, and SampleCount", true,
                     [=] { SetByUser(control, value); }, "unticks " + NameOf(control) + "=" + n(value) + " SampleRate=" +
                     n(rate) + " Duration=" + Shown(ms / 1000.0f) + " SampleCount=" + n(std::lround(rate * double(ms / 1000.0f)))});
  for (auto [control, movedTo, from, to] : {std::array<int, 4>{FrqToSlider, 1000, 90, 1000}, {FrqFromSlider, 1400, 1000, 1000},
       {FrqToSlider, 1100, 1000, 1100}, {FrqToSlider, 500, 1000, 1000}, {FrqFromSlider, 300, 300, 1000},
       {FrqToSlider, 200, 300, 300}, {FrqToSlider, 4000, 300, 4000}})
    rules.push_back({"Frq From stays at or below Frq To, each where the other stopped it", true, [=] { SetByUser(control, movedTo); },
                     "unticks FrqFromSlider=" + n(from) + " FrqFrom=" + n(from) + " LastFrqFrom=" + n(from) + " FrqToSlider=" +
                     n(to) + " FrqTo=" + n(to) + " LastFrqTo=" + n(to)});
  for (int ticked : {0, 1}) {
    for (int k = 0, value = 20 + 7 * ticked; k < 4; ++k, value += 15)
      rules.push_back({"each distribution slider sets its own fraction; the preview follows while the box is ticked", true,
                       [=] { SetByUser(DistASlider + k, value); }, "unticks " + NameOf(DistASlider + k) + "=" + n(value) +
                       " Dist" + char('A' + k) + "=" + Shown(value / 100.0f), ticked ? ShowsCurve : Effects()});
    rules.push_back({"Enable Frequency Distribution sets FrqDistribution; the preview shows the curve, or black", true,
                     [] { Click(DistributionCheckbox); }, "unticks FrqDistribution=" + n(!ticked) + " DistributionCheckbox=" +
                     n(!ticked) + " DistributionPreview=" + Shown(Raster(160, 70)), ticked ? Effects() : ShowsCurve});
  }
  const Colour c = MakeColour(200, 40, 90);
  auto line = [c](int x1, int y1, int x2, int y2) {
    return [=](Raster& p) { for (auto [x, y] : raster_models::LinePixels(380, 380, x1, y1, x2, y2)) p.At(x, y) = c; };
  };
  rules.insert(rules.end(), {
      {"the brush size is only read by the brush", true, [] { SetByUser(BrushSizeSpin, 3); }, "BrushSizeSpin=3"},
      {"a colour chosen is the brush's and the swatch's", true, [=] { AnswerColourDialog(c), Click(ColorButton); },
       "BrushColor=" + n(c) + " SwatchImage=" + Shown(Raster(35, 35, c)) + " ColorButtonFace=#c8285a"},
      {"a cancelled colour changes nothing", true, [] { AnswerColourDialog(std::nullopt), Click(ColorButton); }, ""},
      {"a brush stroke paints a disc at the press and at each move", true, [] { Drag(PaintCanvas, {{100, 100}, {150, 60}}); },
       "", Paints([=](Raster& p) { raster_models::AddDisc(p, 100, 100, 3, c), raster_models::AddDisc(p, 150, 60, 3, c); }, 100, 100)},
      {"moves without a button, and the right button, paint nothing", true, [] {
         MouseOn(PaintCanvas, MouseStep::Move, {250, 250}), Pump();
         for (MouseStep step : {MouseStep::Press, MouseStep::Move, MouseStep::Release})
           MouseOn(PaintCanvas, step, {200, 200 + int(step)}, Qt::RightButton), Pump();
       }, ""},
      {"the Line toggle is the tool", true, [] { Click(LineToggle); }, "Tool=4 LineToggle=1 BrushToggle=0"},
      {"the pressed toggle stays pressed", true, [] { Click(LineToggle); }, ""},
      {"a line follows the pointer over the picture as it was at the press", true,
       [] { Drag(PaintCanvas, {{10, 10}, {200, 50}, {50, 300}}); }, "", Paints(line(10, 10, 50, 300), 10, 10)},
      {"the Brush toggle is the tool", true, [] { Click(BrushToggle); }, "Tool=3 LineToggle=0 BrushToggle=1"},
      {"a double click is two presses, the second keeping the first's disc", true,
       [] { MouseOn(PaintCanvas, MouseStep::DoubleClick, {300, 250}), Pump(); }, "", [=](WindowState& e) {
         raster_models::AddDisc(before, 300, 250, 3, c), Paints([](Raster&) {}, 300, 250)(e);
       }},
      {"Rotate turns the picture a quarter clockwise", true, [] { Click(RotateButton); }, "unticks", Paints([](Raster& p) {
         for (int i = 0; i < 380 * 380; ++i) p.At(379 - i / 380, i % 380) = before.At(i % 380, i / 380);
       })},
      {"pointing at the canvas, a slider, the band level editor and off them changes nothing", true, [] {
         for (auto [control, at] : {std::pair<int, QPoint>{PaintCanvas, {58, 200}}, {SampleRateSlider, {90, 10}},
                                    {BandLevelEditorNumber, {80, 35}}, {PaintCanvas, {385, 383}}})
           MouseOn(control, MouseStep::Move, at), Pump();
       }, ""},
      {"a press beside every band point moves nothing", true, [] { Drag(BandLevelEditorNumber, {{10, 5}, {10, 60}}); }, ""},
      {"a press and release on a band point puts the curve in use", true,
       [] { Drag(BandLevelEditorNumber, {{66, 35}}); }, "unticks BandCurveEdited=1"},
      {"a dragged band point follows the pointer", true,
       [] { Drag(BandLevelEditorNumber, {{66, 35}, {66, 10}}); }, "", Moved(3, {66, 10})},
      {"off the editor, a held band point follows along its edge", true,
       [] { Drag(BandLevelEditorNumber, {{89, 35}, {89, -40}}); }, "", Moved(4, {89, 0})},
      {"the preview, labels, frame, other kinds of events and the help window's menu events do nothing", true, [] {
         for (int control : {DistributionPreview, FrqFromLabel, SoundFrame, BandLevelLabel}) Drag(control, {{5, 5}, {9, 9}});
         HandleEvent({EventKind::Other, MainWindow}), HandleEvent({EventKind::Menu, HelpWindow, ExitItem});
       }, ""},
  });
  Check(rules);
}

// The sliders and the box under their settings-file keys, in the order Save writes them.
constexpr std::pair<const char*, const char*> Keys[] = {{"SoundDuration", "SoundDurationSlider"},
    {"SampleRate", "SampleRateSlider"}, {"FrqFrom", "FrqFromSlider"}, {"FrqTo", "FrqToSlider"},
    {"FrqDistribution", "DistributionCheckbox"}, {"FrqDistA", "DistASlider"}, {"FrqDistB", "DistBSlider"},
    {"FrqDistC", "DistCSlider"}, {"FrqDistD", "DistDSlider"}};
// What Load takes from values under those keys: the sliders, the box, their settings, the preview and the band points
// (whose ends keep their x).
Effects Loaded(std::array<int, 9> v, std::vector<BandPoint> points) {
  return [=](WindowState& e) mutable {
    for (int i = 0; i < 9; ++i) e[Keys[i].second] = n(v[i]);
    points.back().x = FindBandLevelEditor(BandLevelEditorNumber)->points.back().x;
    Apply(e, "unticks SampleRate=" + n(v[1]) + " Duration=" + Shown(v[0] / 1000.0f) + " SampleCount=" +
             n(std::lround(v[1] * double(v[0] / 1000.0f))) + " FrqFrom=" + n(v[2]) + " LastFrqFrom=" + n(v[2]) + " FrqTo=" +
             n(v[3]) + " LastFrqTo=" + n(v[3]) + " FrqDistribution=" + n(v[4]) + " DistA=" + Shown(v[5] / 100.0f) +
             " DistB=" + Shown(v[6] / 100.0f) + " DistC=" + Shown(v[7] / 100.0f) + " DistD=" + Shown(v[8] / 100.0f) +
             " DistributionPreview=" + Shown(Raster(160, 70)) + Points(points));
    if (v[4]) ShowsCurve(e);
  };
}

TEST_F(Commands, FilesSoundAndMenusChangeWhatTheySayAndNothingElse) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("vellora-commands-" + std::to_string(getpid()));
  fs::create_directories(folder / "gone");
  const std::string dot = BuildBmp({.width = 1, .height = 1, .pixels = std::string("\x1e\xc8\x0a\0", 4)});
  std::ofstream(folder / "dot.bmp") << dot, std::ofstream(folder / "plain.bmp") << dot;
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
  auto says = [&](std::string shown) {
    return [&, shown](WindowState&) { EXPECT_EQ(title + "|" + text.substr(0, shown.size() - title.size() - 1), shown); };
  };
  // The output heard the sound's whole buffers of (S + 1) / 380 samples from its start while more than a buffer and one
  // sample remained, then silence.
  auto Heard = [&](int rate) {
    const std::size_t frames = (SoundBuffer.size() - 1) / 380, played = ((SoundBuffer.size() - 2) / frames) * frames;
    const std::vector<float> heard = capture.TakeHeard(rate, frames);
    ASSERT_TRUE(heard.size() >= played) << heard.size();
    EXPECT_TRUE(std::equal(SoundBuffer.begin(), SoundBuffer.begin() + played, heard.begin()));
    EXPECT_EQ(std::count(heard.begin() + played, heard.end(), 0.0f), heard.size() - played);
  };
  auto open = [](fs::path file, int control) { return [=] { AnswerFileDialog(file.string()), Click(control); }; };
  Check({
      {"Export before any sound says so", true, [&] { DismissMessageBox(&title, &text), Menu("File", "Export Sound..."); },
       "", says("Export Sound|Press Synthesize first: there is no sound to export yet.")},
      {"Save writes the picture and its settings file, and changes nothing", true, open(folder / "pic", SaveButton), "",
       [&](WindowState& e) {
         std::string settings;
         for (auto [key, control] : Keys) settings += std::string(key) + " = " + e[control] + "\r\n";
         for (int i = 0; const BandPoint& p : FindBandLevelEditor(BandLevelEditorNumber)->points)
           settings += "FrqBandP" + n(++i) + " = " + n(p.x) + "," + n(70 - p.y) + "\r\n";
         EXPECT_EQ(std::pair(fs::file_size(folder / "pic.bmp"), ReadAll(folder / "pic.bmp.vlr")), std::pair(433254ul, settings));
         saved = e;
       }},
      {"a cancelled Save changes nothing", true, open("", SaveButton), ""},
      {"a Save that fails says so and changes nothing", true, [&] {
         AnswerFileDialog((folder / "gone/pic.bmp").string(), [&] { fs::remove(folder / "gone"); });
         DismissMessageBox(&title, &text), Click(SaveButton);
       }, "", says("Save|The picture could not be saved as " + (folder / "gone/pic.bmp").string())},
  });
  Click(ClearButton), Click(DistributionCheckbox), SetByUser(SoundDurationSlider, 9000), SetByUser(FrqFromSlider, 500);
  SetByUser(DistDSlider, 10), Drag(BandLevelEditorNumber, {{44, 35}, {44, 60}});
  const std::string dotted = " PaintCanvas=" + Shown(Raster(380, 380, MakeColour(10, 200, 30)));
  std::vector<BandPoint> points(8, {0, 70});
  points[1] = {30, 10}, points[7].y = 65;
  Check({
      {"Load shows the picture and takes the settings saved beside it", true, open(folder / "pic.bmp", LoadButton),
       "", [&](WindowState& e) { e = saved, Apply(e, "unticks"); }},
      {"Load takes each value within its slider's range, the curve's inner x and every height", true,
       open(folder / "dot.bmp", LoadButton), dotted, Loaded({3000, 22050, 200, 7000, 1, 10, 20, 30, 90}, points)},
      {"Load of a picture with no settings file beside it changes only the picture", true,
       [&] { Click(ClearButton), open(folder / "plain.bmp", LoadButton)(); }, "unticks" + dotted},
      {"Load of a file that is no picture keeps the canvas and takes the settings beside it, missing keys at their start "
       "values", true, open(folder / "words.bmp", LoadButton), "",
       Loaded({7000, 3000, 90, 9000, 0, 50, 5, 75, 75}, std::vector<BandPoint>(8, {0, 70}))},
      {"Load of a name with no file unticks Repeat only", true, open(folder / "none.bmp", LoadButton), "unticks"},
      {"a cancelled Load changes nothing", true, open("", LoadButton), ""},
      {"Synthesize with Repeat ticked before any sound makes it, keeps the picture for the cursor and plays it", true,
       [&] { capture.Clear(), Click(SynthesizeButton); }, "SoundBuffer=21001#*", [&](WindowState& e) {
         e["CanvasImage"] = e["PaintCanvas"], Heard(3000);
       }},
      {"with Repeat ticked, Synthesize plays the same sound again, at the rate of the moment", true,
       [&] { SetByUser(SampleRateSlider, 2000), Click(RepeatCheckbox), capture.Clear(), Click(SynthesizeButton); },
       "SampleRateSlider=2000 SampleRate=2000 SampleCount=14000", [&](WindowState&) { Heard(2000); }},
      {"with Repeat unticked, Synthesize makes the picture's sound anew, Repeat still unticked", false,
       [&] { Drag(PaintCanvas, {{200, 200}}), capture.Clear(), Click(SynthesizeButton); }, "SoundBuffer=14001#*",
       [&](WindowState& e) {
         Paints([](Raster& p) { raster_models::AddDisc(p, 200, 200, 8, White); }, 200, 200)(e);
         e["CanvasImage"] = e["PaintCanvas"], Heard(2000);
         const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, &BandLevel};
         EXPECT_EQ(SoundBuffer, SynthesizeSound(CanvasOf(PaintCanvas), SynthSettings, sources));
       }},
      {"Export writes the last sound at the rate it was played at and changes nothing", true,
       [&] { AnswerFileDialog((folder / "out").string()), Menu("File", "Export Sound..."); }, "", [&](WindowState&) {
         const SoundFileContents written = ReadSoundFile((folder / "out.wav").string());
         EXPECT_EQ(std::pair(written.sampleRate, written.samples), std::pair(2000, SoundBuffer));
       }},
      {"a cancelled Import MIDI changes nothing", true, [] { AnswerFileDialog(""), Menu("File", "Import MIDI..."); }, ""},
      {"a cancelled Import changes nothing", true,
       [&] { AnswerFileDialog(sound), AnswerImportDialog(ImportChoice{}, false), Menu("File", "Import Sound..."); }, ""},
      {"Import draws the sound and sets Sound Duration and Sample Rate to its own", true,
       [&] { AnswerFileDialog(sound), AnswerImportDialog(ImportChoice{}, true), Menu("File", "Import Sound..."); },
       "unticks PaintCanvas=380x380* SoundDurationSlider=1000 Duration=1 SampleRateSlider=8000 SampleRate=8000 SampleCount=8000"},
      {"Import of a broken sound says why and changes nothing", true,
       [&] { AnswerFileDialog(cut), DismissMessageBox(&title, &text), Menu("File", "Import Sound..."); }, "",
       says("Import Sound|Could not import " + cut + ": ")},
      {"About names the program", true, [&] { DismissMessageBox(&title, &text), Menu("?", "About"); }, "",
       says("About Vellora|Vellora 1.0\nPaint a picture and hear it.")},
      {"Help opens the help window with an empty line, then each piece on a line of its own", true,
       [] { Menu("?", "Help"); }, "HelpWindows=1", [](WindowState&) {
         QWidget* help = UiWindowWidget(HelpWindow);
         auto* box = help->findChild<QTextEdit*>();
         EXPECT_EQ(std::tuple(help->windowTitle(), UiClientArea(HelpWindow)->size(), box->geometry(), box->isReadOnly()),
                   std::tuple("Vellora Help", QSize(638, 265), QRect(5, 5, 628, 250), true));
         EXPECT_LE((help->frameGeometry().center() - help->screen()->availableGeometry().center()).manhattanLength(), 2);
         const QStringList lines = box->toPlainText().split('\n');
         EXPECT_TRUE(lines.size() == 23 && lines[0] == "" && lines[1].startsWith("Draw in black canvas area"));
         for (int i = 3; i < lines.size(); ++i) EXPECT_TRUE(lines[i].startsWith('*')) << lines[i].toStdString();
       }},
      {"Help again leaves one help window", true, [] { Menu("?", "Help"); }, ""},
      {"the help window's close box closes it alone", true,
       [] { UiWindowWidget(HelpWindow)->windowHandle()->close(), Pump(); }, "HelpWindows=0"},
      {"Exit ends the loop", true, [] { Menu("File", "Exit"); }, "QuitFlag=1"},
  });
  QuitFlag = 0, Menu("?", "Help");
  Check({{"the main window's close box ends the loop, the help window open", true,
          [] { UiWindowWidget(MainWindow)->windowHandle()->close(), Pump(); }, "QuitFlag=1"}});
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

// No window and no message box can come; the one line tells whoever typed the command why, and the status stays 0.
TEST(WithoutDisplay, TheProgramNamesTheDisplayInOneLineAndEndsWithStatusZero) {
  const std::string printed = ::testing::TempDir() + "vellora-without-display.txt";
  const std::pair<const char*, const char*> rows[] = {
      {"DISPLAY=:97", "vellora: cannot open display \":97\"\n"},  // named, but no server answers there
      {"", "vellora: cannot open display (DISPLAY is not set)\n"}};
  for (auto [environment, line] : rows) {
    const std::string command = std::string("env -i PATH=/usr/bin:/bin ") + environment + " timeout 60 " + VELLORA_PROGRAM_PATH;
    const int status = std::system((command + " >" + printed + " 2>&1").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << environment << " " << status;
    std::ifstream output(printed);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(output), {}), line) << environment;
  }
}

}  // namespace
