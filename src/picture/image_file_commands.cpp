// Save and Load: the file dialog, the bitmap writing and image reading, and the settings file afterwards.
#include "picture/image_file_commands.h"

#include "app/control_ids.h"
#include "app/repeat.h"
#include "picture/bmp_writer.h"
#include "picture/image_file.h"
#include "picture/save_name.h"
#include "picture/settings_file.h"
#include "picture/stretch.h"
#include "picture/surface.h"
#include "ui/ui.h"

namespace {

constexpr const char* SaveTitle = "Save";
constexpr const char* LoadTitle = "Load";

// Copies the canvas picture into a temporary image and writes that; nothing is written without a canvas.
void WriteCanvasPicture(const std::string& name) {
  const ImageRef canvas = CanvasPicture(PaintCanvas);
  if (!canvas) return;
  const ImageRef copy = NewImage(CanvasSize, CanvasSize);
  if (!copy) return;
  if (BeginDrawing(HandleTarget(copy))) {
    BlitImage(canvas, 0, 0);
    EndDrawing();
    WriteBmpFile(name, *copy);  // a failed write leaves any older file as it was; nothing is reported
  }
  DropImage(copy);
}

}  // namespace

void RunSaveCommand() {
  const FileChoice choice = UiFileDialog(true, SaveTitle, ImageFileFilters);
  if (choice.path.empty()) return;
  const std::string name = NameWithSaveExtension(choice.path, choice.filterIndex);
  WriteCanvasPicture(name);
  WriteSettingsFile(name);
}

void RunLoadCommand() {
  const FileChoice choice = UiFileDialog(false, LoadTitle, ImageFileFilters);
  if (choice.path.empty()) return;
  ResetRepeat();
  if (auto picture = ReadImageFileAt(choice.path)) {
    const ImageRef image = NewImage(CanvasSize, CanvasSize);
    if (image) {
      *image = StretchToSize(*picture, CanvasSize, CanvasSize);
      ShowOnCanvas(PaintCanvas, image);
      DropImage(image);
    }
  }
  ReadSettingsFile(choice.path);
}
