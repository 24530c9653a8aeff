// The synthesis steps of the Synthesize command, on the program's globals.
#pragma once

// Rebuilds RowFrequency, RowLevel and PixelLevel from SynthSettings, the band level curve and the live
// PaintCanvas picture; without a canvas the tables become empty and the next sound is silent.
void PrepareSynthesis();
// Fills SoundBuffer (SampleCount + 1 samples) from the tables and SynthSettings, then normalises it.
void RenderSound();
// Scales SoundBuffer in place so its largest magnitude is 1.0.
void NormalizeSound();
