// Every sound control change makes the last sound out of date, so each handler starts with ResetRepeat.
#include "app/sound_controls.h"

#include "app/control_ids.h"
#include "app/repeat.h"
#include "app/settings.h"
#include "distribution/distribution_preview.h"
#include "ui/ui.h"

void HandleFrqFromSlider() {
  ResetRepeat();
  if (UiGetState(FrqFromSlider) > LastFrqTo) UiSetState(FrqFromSlider, LastFrqTo);
  LastFrqFrom = SynthSettings.FrqFrom = UiGetState(FrqFromSlider);
}

void HandleFrqToSlider() {
  ResetRepeat();
  if (UiGetState(FrqToSlider) < LastFrqFrom) UiSetState(FrqToSlider, LastFrqFrom);
  LastFrqTo = SynthSettings.FrqTo = UiGetState(FrqToSlider);
}

void HandleSampleRateSlider() {
  ResetRepeat();
  SynthSettings.SampleRate = UiGetState(SampleRateSlider);
  SynthSettings.SampleCount = ComputeSampleCount(SynthSettings.SampleRate, SynthSettings.Duration);
}

void HandleSoundDurationSlider() {
  ResetRepeat();
  SynthSettings.Duration = DurationFromMilliseconds(UiGetState(SoundDurationSlider));
  SynthSettings.SampleCount = ComputeSampleCount(SynthSettings.SampleRate, SynthSettings.Duration);
}

void HandleDistributionSlider(int control) {
  ResetRepeat();
  const float fraction = FractionFromPosition(UiGetState(control));
  switch (control) {
    case DistASlider: SynthSettings.DistA = fraction; break;
    case DistBSlider: SynthSettings.DistB = fraction; break;
    case DistCSlider: SynthSettings.DistC = fraction; break;
    case DistDSlider: SynthSettings.DistD = fraction; break;
    default: return;
  }
  DrawDistributionPreview();
}

void HandleDistributionCheckbox() {
  ResetRepeat();
  SynthSettings.FrqDistribution = UiGetState(DistributionCheckbox) ? 1 : 0;
  RefreshDistributionPreview();
}
