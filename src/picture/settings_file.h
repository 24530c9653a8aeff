// The settings file beside a saved picture: the sound controls and the band curve, written by Save and
// put back by Load.
#pragma once

#include <string>

// Writes the nine sound keys from their controls and the eight band points into imageName + ".vlr".
// False when the file had to be written and could not be (it then stays as it was); a read-only file is
// left alone and counts as success.
bool WriteSettingsFile(const std::string& imageName);
// Reads imageName + ".vlr" if it exists: sets the sliders, the checkbox, SynthSettings, the preview and
// the band curve (BandCurveEdited stays as it is). A missing file changes nothing.
void ReadSettingsFile(const std::string& imageName);
