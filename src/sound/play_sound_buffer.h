// Playback of SoundBuffer with the scan cursor, on the program's globals.
#pragma once

// Plays SoundBuffer once at the SampleRate setting while the cursor sweeps PaintCanvas, then restores the
// picture (Repeat after a change of the rate replays the same samples at the new rate).
// An audio failure shows the library's text in a message box and returns; a buffer shorter than 381
// samples plays nothing.
void PlaySoundBuffer();
