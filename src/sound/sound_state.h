// The synthesis tables and the sound buffer: global for the whole run, written on the main thread only.
#pragma once

#include <cstdint>
#include <vector>

extern std::vector<float> RowFrequency;  // Hz of each picture row, from the last preparation
extern std::vector<float> RowLevel;      // band level of each row, from the last preparation
extern std::vector<float> PixelLevel;    // brightness of each pixel, row-major, from the last preparation
extern int SynthesisWidth;               // W of the last preparation
extern int SynthesisHeight;              // H of the last preparation
extern std::int32_t SamplesPerColumn;    // from the last rendering
extern std::vector<float> SoundBuffer;   // the last sound, SampleCount + 1 samples after a synthesis
extern std::int32_t SoundBufferRate;     // the sample rate SoundBuffer was made with

// Puts the tables and SoundBuffer back to their start-up contents (one 0 each, PixelLevel 1 × 1).
void ResetSoundState();
