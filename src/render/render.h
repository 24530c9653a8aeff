// SPDX-License-Identifier: GPL-3.0-or-later
// vellora-render: the command line (what to read, what to change, what to write) and one rendering, from a
// picture or from a sound analysed into one.

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sound/analysis.h"

struct RenderOptions {
  std::string image;         // the picture to read, or empty when a sound is analysed instead
  std::string analyse;       // the sound to turn into the picture, or empty
  std::string midi;          // the MIDI file to draw as the picture, or empty
  bool fitDuration = false;  // the piece fitted into the settings' duration rather than setting it to its length
  std::vector<int> tracks;   // the MIDI file's tracks to draw, from 1; empty: all
  std::vector<int> channels; // its channels to draw, 1 to 16; empty: all but 10, the drums'
  int channel = 0;           // the sound's channel to analyse, from 1; 0: the mix of all of them
  double startSeconds = 0.0; // where in the sound the analysed stretch begins
  AnalysisChoices choices;   // scale, range, gain and placement of the analysis (the rest is filled in)
  bool fitRange = false;     // From and To from the sound's pitches rather than the settings
  std::string output;        // empty: no sound file
  std::string settingsFile;  // empty: the image's name followed by ".vlr", when there is one
  bool pcm16 = false;
  std::optional<int> durationMs;
  std::optional<int> sampleRate;
  std::optional<int> from;
  std::optional<int> to;
  std::optional<std::array<int, 4>> distribution;
  bool bandCurve = false;
  std::string savePicture;  // empty: no picture written
  std::string saveMidi;     // empty: no MIDI file written
  int silenceBelow = 16;    // the brightness below which a pixel is no note in the MIDI file written
  bool play = false;
};

// What parsing asks of the caller: run with the options, or stop at once with an exit code and a
// message (for the standard output when the code is 0, as for --help and --version, else for errors).
struct RenderCommandLine {
  std::optional<RenderOptions> options;
  int exitCode = 0;
  std::string message;
};

constexpr int RenderExitOk = 0;
constexpr int RenderExitFailure = 1;  // something could not be read, written or played
constexpr int RenderExitUsage = 2;    // a bad option or value; nothing was written

// Parses the arguments (argv[0] is the program's name); never throws.
RenderCommandLine ParseRenderCommandLine(const std::vector<std::string>& arguments);

// Loads, synthesises and writes as the options say; messages go to err. Returns the exit code.
int RunRender(const RenderOptions& options, std::ostream& err);
