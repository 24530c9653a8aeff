// "File" -> "Export Sound...": the last synthesised sound written as a WAV or FLAC file.
#pragma once

// Asks for a name and writes every sample of the last sound at the rate it was made with; before any
// sound exists it says so instead. A cancel does nothing; Repeat and the picture are never touched.
void RunExportSoundCommand();
