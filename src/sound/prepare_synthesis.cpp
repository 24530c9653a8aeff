// PrepareSynthesis: reads the live canvas picture, the frequency mappings and the band levels into the tables.
#include <new>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "distribution/frequency_mapping.h"
#include "picture/surface.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"
#include "sound/synthesis_core.h"

void PrepareSynthesis() {
  const Raster* picture = CanvasPicture(PaintCanvas);
  const Raster noPicture;
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, &BandLevel};
  try {
    SynthesisTables tables = BuildSynthesisTables(picture ? *picture : noPicture, SynthSettings, sources);
    RowFrequency = std::move(tables.rowFrequency);
    RowLevel = std::move(tables.rowLevel);
    PixelLevel = std::move(tables.pixelLevel);
    SynthesisWidth = tables.width;
    SynthesisHeight = tables.height;
  } catch (const std::bad_alloc&) {
    // Empty tables render as silence rather than as a sound of the previous picture.
    RowFrequency.clear();
    RowLevel.clear();
    PixelLevel.clear();
    SynthesisWidth = 0;
    SynthesisHeight = 0;
  }
}
