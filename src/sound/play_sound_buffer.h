// Playback of SoundBuffer with the scan cursor, on the program's globals.
#pragma once

// Plays SoundBuffer once at SoundBufferRate while the cursor sweeps PaintCanvas, then restores the picture.
// An audio failure shows the library's text in a message box and returns; a buffer shorter than 381
// samples plays nothing.
void PlaySoundBuffer();
