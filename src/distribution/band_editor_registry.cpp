// The editor records, each attached to its drawing control by the control's number, and the
// operations that reach a record through its handle.
#include <map>

#include "app/settings.h"
#include "distribution/band_curve.h"
#include "distribution/band_editor_record.h"
#include "distribution/band_level_editor.h"

namespace {

// The editor's level of a row is its curve value over this many units.
constexpr float BandLevelScale = 10000.0f;
// The level of every row until the user has shaped the curve.
constexpr float UneditedBandLevel = 0.5f;

std::map<int, BandLevelEditor>& Editors() {
  static std::map<int, BandLevelEditor> editors;
  return editors;
}

}  // namespace

BandEditorHandle AttachBandLevelEditor(int control, const BandLevelEditor& record) {
  if (control <= 0) return 0;
  BandLevelEditor& attached = Editors()[control];
  attached = record;
  attached.control = control;
  return control;
}

BandLevelEditor* FindBandLevelEditor(BandEditorHandle handle) {
  auto found = Editors().find(handle);
  return found == Editors().end() ? nullptr : &found->second;
}

void SetBandLevelEditorProperty(BandEditorHandle handle, int key, std::int32_t value) {
  BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return;
  ApplyBandEditorProperty(*editor, key, value);
  DrawBandLevelEditor(handle);
}

int EvaluateBandCurve(BandEditorHandle handle, int x) {
  const BandLevelEditor* editor = FindBandLevelEditor(handle);
  return editor ? EvaluateBandCurveOn(*editor, x) : 0;
}

int ExportBandPoints(BandEditorHandle handle, std::vector<StoredBandPoint>& points) {
  const BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return 0;
  points = ExportBandPointsOf(*editor);
  return 1;
}

void ImportBandPoints(BandEditorHandle handle, const std::vector<StoredBandPoint>& points) {
  BandLevelEditor* editor = FindBandLevelEditor(handle);
  if (!editor) return;
  ImportBandPointsInto(*editor, points);
  DrawBandLevelEditor(handle);
}

float BandLevel(int row) {
  if (SynthSettings.BandCurveEdited != 1) return UneditedBandLevel;
  return static_cast<float>(EvaluateBandCurve(BandLevelEditorNumber, row) / static_cast<double>(BandLevelScale));
}
