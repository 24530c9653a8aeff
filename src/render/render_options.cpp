// SPDX-License-Identifier: GPL-3.0-or-later
// Argument parsing with CLI11; every number is decimal and within the range of the slider the option stands for.
#include "render/render.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <limits>

#include "picture/settings_file.h"
#include "sound/midi_file.h"

namespace {

// Whole numbers are read in decimal: left to the library, 02000 would be octal (1024) and 0x7D0 hexadecimal, which
// no one writing a duration or a frequency means. Blanks around the number and its leading zeros are dropped.
std::string AsDecimal(std::string& text) {
  const std::size_t start = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
  std::string number = start == std::string::npos ? "" : text.substr(start, end - start + 1);
  const std::size_t sign = number.starts_with('+') || number.starts_with('-') ? 1 : 0;
  if (number.size() == sign || number.find_first_not_of("0123456789", sign) != std::string::npos)
    return "Value " + text + " is not a whole number in decimal";
  text = number.erase(sign, std::min(number.find_first_not_of('0', sign), number.size() - 1) - sign);
  return {};
}

// A whole number within the range of the slider the option stands for.
CLI::Option* WithinSlider(CLI::Option* option, int setting) {
  return option->transform(CLI::Validator(AsDecimal, ""))
      ->check(CLI::Range(SoundSettingRanges[setting].minimum, SoundSettingRanges[setting].maximum));
}

// A number of the given range; unlike CLI::Range, it refuses "nan", which compares false with both ends.
CLI::Validator NumberFrom(double minimum, double maximum = std::numeric_limits<double>::max()) {
  using CLI::detail::to_string;
  const std::string range = maximum < std::numeric_limits<double>::max()
                                ? "in [" + to_string(minimum) + " - " + to_string(maximum) + "]"
                                : ">= " + to_string(minimum);
  return CLI::Validator(
      [=](std::string& text) -> std::string {
        double value = 0.0;
        if (CLI::detail::lexical_cast(text, value) && value >= minimum && value <= maximum) return {};
        return "Value " + text + " is not a number " + range;
      },
      "NUMBER " + range);
}

// "mix" or a channel's number from 1.
const CLI::Validator ChannelChoice(
    [](std::string& text) -> std::string {
      int number = 0;
      if (text == "mix" || (CLI::detail::lexical_cast(text, number) && number >= 1)) return {};
      return "Value " + text + " is neither mix nor a channel number from 1";
    },
    "mix|N");

constexpr const char* PlacementNames[] = {"between", "nearest"};  // in RowPlacement's order

}  // namespace

RenderCommandLine ParseRenderCommandLine(const std::vector<std::string>& arguments) {
  RenderOptions options;
  CLI::App app{"Turns a picture into sound as Vellora's \"Synthesize\" does and writes it to a file.",
               "vellora-render"};
  app.set_version_flag("--version", std::string("vellora-render ") + VELLORA_VERSION);
  CLI::Option* image = app.add_option("IMAGE", options.image, "BMP or JPEG picture, read as \"Load\" reads it");
  CLI::Option* analyse =
      app.add_option("--analyse", options.analyse,
                     "sound file (WAV, FLAC, OGG, AIFF; 15 s of it) to analyse into the picture instead of IMAGE; "
                     "the sound duration and sample rate then play it back at its own pace")
          ->excludes(image);
  CLI::Option* midi =
      app.add_option("--midi", options.midi,
                     "MIDI file (format 0 or 1) to draw as the picture instead of IMAGE: each note a stroke on the row "
                     "heard nearest its pitch; the sound duration becomes the piece's length")
          ->excludes(image)
          ->excludes(analyse);
  app.add_flag("--fit-duration", options.fitDuration, "fits the MIDI piece into the sound duration instead")->needs(midi);
  app.add_option("--tracks", options.tracks, "N,N...: the MIDI file's tracks to draw, from 1 (default all)")
      ->delimiter(',')
      ->check(CLI::Range(1, MaximumMidiTracks))
      ->needs(midi);
  app.add_option("--channels", options.channels,
                 "N,N...: the MIDI channels to draw, 1 to 16 (default all but 10, the drums')")
      ->delimiter(',')
      ->check(CLI::Range(1, MidiChannels))
      ->needs(midi);
  std::string scale = "linear", channel = "mix";
  std::optional<double> rangeDb;
  std::string placement = PlacementNames[static_cast<int>(options.choices.placement)];
  app.add_option("--scale", scale, "brightness of the analysis: linear (amplitude, the default) or db (decibels)")
      ->check(CLI::IsMember({"linear", "db"}))
      ->needs(analyse);
  app.add_option("--range-db", rangeDb,
                 "with --scale db: the decibels from white to black (default " +
                     CLI::detail::to_string(DecibelRange) + ")")
      ->check(NumberFrom(MinimumRangeDb, MaximumRangeDb))
      ->needs(analyse);
  app.add_option("--gain-db", options.choices.gainDb, "raises (or lowers) every level of the analysis (default 0)")
      ->check(NumberFrom(-MaximumRangeDb, MaximumRangeDb))
      ->needs(analyse);
  app.add_option("--placement", placement,
                 std::string("a pitch between two rows' pitches: shared between them, or on the nearest (default ") +
                     placement + ")")
      ->check(CLI::IsMember({PlacementNames[0], PlacementNames[1]}))
      ->needs(analyse);
  app.add_option("--channel", channel, "the channel to analyse: mix (the mean of all, the default) or N, from 1")
      ->check(ChannelChoice)
      ->needs(analyse);
  app.add_option("--start", options.startSeconds, "seconds into the sound where the analysed 15 s begin (default 0)")
      ->check(NumberFrom(0.0))
      ->needs(analyse);
  CLI::Option* fitRange =
      app.add_flag("--fit-range", options.fitRange, "sets From and To so that the rows span the sound's pitches")
          ->needs(analyse);
  app.add_option("-o,--output", options.output, "sound file to write: WAV, or FLAC when it ends in .flac");
  app.add_option("--settings", options.settingsFile, "settings file to use instead of IMAGE.vlr");
  std::string format = "float";
  app.add_option("--format", format, "WAV sample format: float (32-bit, the default) or pcm16; FLAC is 16-bit")
      ->check(CLI::IsMember({"float", "pcm16"}));
  WithinSlider(app.add_option("--duration-ms", options.durationMs, "sound duration in milliseconds"), DurationSetting);
  WithinSlider(app.add_option("--sample-rate", options.sampleRate, "sample rate in Hz"), SampleRateSetting);
  WithinSlider(app.add_option("--from", options.from, "lowest frequency (Frq From) in Hz"), FrqFromSetting)
      ->excludes(fitRange);
  WithinSlider(app.add_option("--to", options.to, "highest frequency (Frq To) in Hz"), FrqToSetting)
      ->excludes(fitRange);
  std::vector<int> distribution;
  WithinSlider(app.add_option("--distribution", distribution,
                              "A,B,C,D: the four distribution sliders; turns the shaped mapping on")
                   ->delimiter(',')
                   ->expected(4),
               DistASetting);
  app.add_flag("--band-curve", options.bandCurve,
               "use the band level curve of the settings file (with --analyse: measured as it will play)");
  app.add_option("--save-picture", options.savePicture, "also write the 380x380 picture as \"Save\" does");
  CLI::Option* saveMidi = app.add_option(
      "--save-midi", options.saveMidi, "also write the picture's notes as a MIDI file, as \"Export MIDI...\" does");
  app.add_option("--silence-below", options.silenceBelow,
                 "with --save-midi: the brightness below which a pixel is silence, 1 to 255 (default 16)")
      ->check(CLI::Range(1, 255))
      ->needs(saveMidi);
  app.add_flag("--play", options.play, "play the sound on the default output");

  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  if (!reversed.empty()) reversed.pop_back();  // the program's own name
  RenderCommandLine result;
  try {
    app.parse(reversed);
  } catch (const CLI::CallForVersion& version) {
    result.exitCode = RenderExitOk;
    result.message = version.what() + std::string("\n");
    return result;
  } catch (const CLI::Success&) {
    result.exitCode = RenderExitOk;
    result.message = app.help();
    return result;
  } catch (const CLI::ParseError& error) {
    result.exitCode = RenderExitUsage;
    result.message = std::string(error.what()) + "\nRun with --help for more information.\n";
    return result;
  }
  if (options.image.empty() && options.analyse.empty() && options.midi.empty()) {
    result.exitCode = RenderExitUsage;
    result.message = "Give a picture (IMAGE), a sound to analyse (--analyse SOUND) or a MIDI file (--midi FILE).\n"
                     "Run with --help for more information.\n";
    return result;
  }
  if (rangeDb && scale != "db") {
    result.exitCode = RenderExitUsage;
    result.message = "--range-db needs --scale db.\nRun with --help for more information.\n";
    return result;
  }
  options.choices.scale = scale == "db" ? AnalysisScale::Decibels : AnalysisScale::Linear;
  options.choices.rangeDb = rangeDb.value_or(options.choices.rangeDb);
  options.choices.placement = placement == PlacementNames[0] ? RowPlacement::Between : RowPlacement::Nearest;
  options.channel = channel == "mix" ? 0 : std::stoi(channel);
  options.pcm16 = format == "pcm16";
  if (!distribution.empty()) options.distribution = std::array<int, 4>{distribution[0], distribution[1],
                                                                       distribution[2], distribution[3]};
  if (options.output.empty() && options.savePicture.empty() && options.saveMidi.empty() && !options.play) {
    result.exitCode = RenderExitUsage;
    result.message = "Nothing to do: give -o FILE, --save-picture FILE, --save-midi FILE or --play.\n";
    return result;
  }
  result.options = options;
  return result;
}
