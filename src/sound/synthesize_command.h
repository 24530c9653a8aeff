// The Synthesize command: snapshot the picture, synthesise unless Repeat is on, and play.
#pragma once

// Copies PaintCanvas into a fresh CanvasImage, runs PrepareSynthesis and RenderSound unless RepeatFlag is 1
// and a sound exists, then PlaySoundBuffer; RepeatFlag and RepeatCheckbox are left as they are.
void RunSynthesizeCommand();
