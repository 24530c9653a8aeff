// The preview of the shaped frequency distribution.
#pragma once

#include <array>

// The 160 preview rows of the curve for the fractions A..D (before rounding).
std::array<float, 160> PreviewSamples(float a, float b, float c, float d);
// Draws the curve for SynthSettings' fractions into DistributionPreview; does nothing while the box is unticked.
void DrawDistributionPreview();
// Shows the state of the distribution box: the curve while it is ticked, black while it is not.
void RefreshDistributionPreview();
