// Handlers of the "Sound" group's sliders and checkbox: each keeps its setting equal to its control.
#pragma once

// From is held at or below To; sets FrqFrom and LastFrqFrom.
void HandleFrqFromSlider();
// To is held at or above From; sets FrqTo and LastFrqTo.
void HandleFrqToSlider();
// Sets SampleRate and recomputes SampleCount.
void HandleSampleRateSlider();
// Sets Duration and recomputes SampleCount.
void HandleSoundDurationSlider();
// One of the four "Adjust Distribution" sliders: sets its fraction and redraws the preview.
void HandleDistributionSlider(int control);
// Sets FrqDistribution; draws the curve when ticked, blacks the preview when unticked.
void HandleDistributionCheckbox();
