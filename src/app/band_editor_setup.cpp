// The editor sits under "Adjust Frequency Band Level"; its X range spans the picture's 380 rows and its
// Y range the level in ten-thousandths.
#include "app/band_editor_setup.h"

#include <array>
#include <utility>

#include "distribution/band_editor_record.h"

namespace {

constexpr int EditorX = 530, EditorY = 310, EditorWidth = 160, EditorHeight = 70;
constexpr int EditorPoints = 8;

// The properties start-up sets, in this order.
constexpr std::array<std::pair<int, int>, 4> EditorProperties = {{
    {MarkerRadiusProperty, 3},
    {HitRadiusProperty, 10},
    {ValueRangeXProperty, 380},
    {ValueRangeYProperty, 10000},
}};

}  // namespace

BandEditorHandle CreateApplicationBandEditor() {
  const BandEditorHandle editor =
      CreateBandLevelEditor(EditorX, EditorY, EditorWidth, EditorHeight, EditorPoints, White, Black);
  if (!editor) return 0;
  for (auto [key, value] : EditorProperties) SetBandLevelEditorProperty(editor, key, value);
  return editor;
}

BandLevelEditor ApplicationBandEditorRecord() {
  BandLevelEditor record = NewBandLevelEditorRecord(EditorWidth, EditorHeight, EditorPoints, White, Black);
  for (auto [key, value] : EditorProperties) ApplyBandEditorProperty(record, key, value);
  return record;
}
