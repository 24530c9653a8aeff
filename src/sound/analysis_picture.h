// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing half of the analysis: measured levels into the grey picture that plays them back.
#pragma once

#include <vector>

#include "picture/raster.h"
#include "sound/analysis.h"
#include "sound/analysis_bands.h"

// The grey picture of measured levels under the choices' scale, range, gain and band levels; levels not one per
// cell give a black picture. Where the band curve is in force each row is divided by its level, so synthesis,
// which multiplies by it, gives the levels back; rows it silences are black. 255 on the linear scale (before
// the gain) stands for the loudest level a row holds once settled; louder cells clip.
Raster PictureOfLevels(MeasuredLevels measured, const AnalysisChoices& choices);
