// SPDX-License-Identifier: GPL-3.0-or-later
// Notes into strokes on the rows heard at their pitches, and runs of lit pixels back into notes, under the
// mapping, sample rate and duration synthesis plays the picture with.
#include "sound/midi_picture.h"

#include <algorithm>
#include <cmath>

#include "distribution/frequency_mapping.h"

namespace {

constexpr double A4Hz = 440.0;
constexpr int A4Key = 69;
constexpr double FullVelocity = 127.0;
constexpr double FullBrightness = 255.0;

double CentsBetween(double hz, double reference) { return 1200.0 * std::log2(hz / reference); }

// Each row's heard pitch in cents from A4; NaN for a row heard at no pitch.
std::vector<double> RowCents(const std::vector<double>& rowPitches) {
  std::vector<double> cents;
  cents.reserve(rowPitches.size());
  for (const double hz : rowPitches) cents.push_back(hz > 0.0 ? CentsBetween(hz, A4Hz) : std::nan(""));
  return cents;
}

// The row nearest a pitch given in cents from A4 (the topmost of equals), or -1 when none is within
// FarthestRowCents of it. Cents, worked out once for every row, spare a logarithm per row and note.
int NearestRowInCents(const std::vector<double>& rowCents, double cents) {
  int best = -1;
  double bestMiss = FarthestRowCents;
  for (std::size_t row = 0; row < rowCents.size(); ++row) {
    const double miss = std::fabs(rowCents[row] - cents);
    if (miss < bestMiss || (best < 0 && miss <= bestMiss)) {
      bestMiss = miss;
      best = static_cast<int>(row);
    }
  }
  return best;
}

Colour Grey(int level) {
  const auto value = static_cast<std::uint8_t>(level);
  return MakeColour(value, value, value);
}

}  // namespace

double KeyPitch(int key, double cents) { return A4Hz * std::exp2((key - A4Key + cents / 100.0) / 12.0); }

std::vector<double> HeardRowPitches(const SynthSettingsRecord& settings) {
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, nullptr};
  std::vector<double> pitches(CanvasSize);
  for (int row = 0; row < CanvasSize; ++row) {
    const double nominal = HeardFrequency(RowFrequencyOf(row, settings, sources), settings.PhaseFactor);
    pitches[static_cast<std::size_t>(row)] =
        nominal > settings.SampleRate / 2.0 ? FoldedFrequency(nominal, settings.SampleRate) : nominal;
  }
  return pitches;
}

int NearestRow(const std::vector<double>& rowPitches, double hz) {
  return NearestRowInCents(RowCents(rowPitches), CentsBetween(hz, A4Hz));
}

int BrightnessOfVelocity(int velocity) {
  const double amplitude = std::pow(std::clamp(velocity, 0, 127) / FullVelocity, 2.0);
  return std::max(1, static_cast<int>(std::lround(FullBrightness * amplitude)));
}

int VelocityOfBrightness(double level) {
  const double velocity = FullVelocity * std::sqrt(std::clamp(level, 0.0, FullBrightness) / FullBrightness);
  return static_cast<int>(std::clamp(std::lround(velocity), 1L, 127L));
}

double ColumnSeconds(const SynthSettingsRecord& settings) {
  return static_cast<double>(ComputeSamplesPerColumn(settings.SampleRate, settings.Duration, CanvasSize)) /
         settings.SampleRate;
}

int DurationForSeconds(double seconds) {
  const SoundSettingRange& range = SoundSettingRanges[DurationSetting];
  const double milliseconds = std::ceil(seconds * 1000.0 - 1e-6);
  return static_cast<int>(std::clamp(milliseconds, static_cast<double>(range.minimum), static_cast<double>(range.maximum)));
}

NoteChoice StartNoteChoice(int trackCount) {
  NoteChoice choice;
  choice.tracks.assign(static_cast<std::size_t>(std::max(trackCount, 0)), true);
  choice.channels.fill(true);
  choice.channels[DrumChannel] = false;
  return choice;
}

std::vector<MidiNote> ChosenNotes(const MidiPiece& piece, const NoteChoice& choice) {
  std::vector<MidiNote> chosen;
  for (const MidiNote& note : piece.notes) {
    const auto track = static_cast<std::size_t>(note.track);
    if ((track >= choice.tracks.size() || choice.tracks[track]) && choice.channels[static_cast<std::size_t>(note.channel)])
      chosen.push_back(note);
  }
  return chosen;
}

NotesDrawn DrawNotes(const std::vector<MidiNote>& notes, const SynthSettingsRecord& settings, double timeScale,
                     Raster& canvas) {
  NotesDrawn drawn;
  const std::vector<double> rowCents = RowCents(HeardRowPitches(settings));
  const double column = ColumnSeconds(settings) / timeScale;  // a column's length in the piece's seconds
  const int width = std::min(canvas.width, CanvasSize);
  drawn.cutAtSeconds = width * column;
  std::vector<std::uint8_t> strokes(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(canvas.height, 0)));
  for (const MidiNote& note : notes) {
    const int row = NearestRowInCents(rowCents, (note.key - A4Key) * 100.0 + note.cents);
    if (row < 0 || row >= canvas.height) {
      ++drawn.withoutRow;
      continue;
    }
    const auto first = static_cast<long>(std::lround(note.start / column));
    long last = std::max(static_cast<long>(std::lround(note.end / column)), first + 1);  // one past the stroke
    if (first >= width) {
      ++drawn.cutOff;
      continue;
    }
    if (last > width) {
      ++drawn.shortened;
      last = width;
    }
    const int level = BrightnessOfVelocity(note.velocity);
    for (long x = first; x < last; ++x) {
      // Whatever lay under a stroke goes; where strokes meet, the brighter stays.
      std::uint8_t& stroke = strokes[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
      if (stroke >= level) continue;
      stroke = static_cast<std::uint8_t>(level);
      canvas.At(static_cast<int>(x), row) = Grey(level);
    }
    ++drawn.drawn;
  }
  return drawn;
}

PictureNotes NotesOfPicture(const Raster& picture, const SynthSettingsRecord& settings, int silenceBelow) {
  PictureNotes result;
  const std::vector<double> pitches = HeardRowPitches(settings);
  const double column = ColumnSeconds(settings);
  const float threshold = static_cast<float>(std::max(silenceBelow, 1));
  for (int row = 0; row < picture.height && row < CanvasSize; ++row) {
    const double hz = pitches[static_cast<std::size_t>(row)];
    const long key = hz > 0.0 ? std::lround(A4Key + 12.0 * std::log2(hz / A4Hz)) : -1;
    const bool keyed = key >= 0 && key <= 127;
    double cents = keyed ? CentsBetween(hz, KeyPitch(static_cast<int>(key))) : 0.0;
    if (std::fabs(cents) <= UnbentCents) cents = 0.0;
    bool lit = false;
    for (int x = 0; x < picture.width;) {
      if (PixelLevelOf(picture.At(x, row)) < threshold) {
        ++x;
        continue;
      }
      const int first = x;
      double sum = 0.0;
      for (; x < picture.width && PixelLevelOf(picture.At(x, row)) >= threshold; ++x) sum += PixelLevelOf(picture.At(x, row));
      lit = true;
      if (!keyed) continue;
      MidiNote note;
      note.key = static_cast<int>(key);
      note.cents = cents;
      note.velocity = VelocityOfBrightness(sum / (x - first));
      note.start = first * column;
      note.end = x * column;
      result.notes.push_back(note);
    }
    if (lit && !keyed) ++result.rowsWithoutKey;
  }
  std::stable_sort(result.notes.begin(), result.notes.end(),
                   [](const MidiNote& a, const MidiNote& b) { return a.start < b.start; });
  return result;
}
