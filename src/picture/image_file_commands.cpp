// Save and Load: the file dialog, the bitmap writing and image reading, and the settings file afterwards.
#include "picture/image_file_commands.h"

#include <cerrno>
#include <cstring>

#include "app/control_ids.h"
#include "app/repeat.h"
#include "picture/bmp_writer.h"
#include "picture/image_file.h"
#include "picture/save_name.h"
#include "picture/settings_file.h"
#include "picture/settings_file_keys.h"
#include "picture/stretch.h"
#include "picture/surface.h"
#include "ui/ui.h"

namespace {

constexpr const char* SaveTitle = "Save";
constexpr const char* LoadTitle = "Load";

// Copies the canvas picture into a temporary image and writes that; nothing is written without a canvas.
// A failed write leaves any older file as it was.
FileWriteOutcome WriteCanvasPicture(const std::string& name) {
  const ImageRef canvas = CanvasPicture(PaintCanvas);
  if (!canvas) return {false, ENOENT};
  const ImageRef copy = NewImage(CanvasSize, CanvasSize);
  if (!copy) return {false, ENOMEM};
  FileWriteOutcome outcome{false, EBUSY};
  if (BeginDrawing(HandleTarget(copy))) {
    BlitImage(canvas, 0, 0);
    EndDrawing();
    outcome = WriteBmpFile(name, *copy);
  }
  DropImage(copy);
  return outcome;
}

// A Save that did not happen is said so: silence would look like success while the files on disk are old.
void ReportSaveFailure(const std::string& what, const std::string& name, const std::string& reason) {
  UiMessageBox(SaveTitle, "The " + what + " could not be saved as " + name + " (" + reason +
                              "). Any earlier file of that name is unchanged.");
}

}  // namespace

void RunSaveCommand() {
  const FileChoice choice = UiFileDialog(true, SaveTitle, ImageFileFilters);
  if (choice.path.empty()) return;
  const std::string name = NameWithSaveExtension(choice.path, choice.filterIndex);
  // Without the new picture the settings stay as well, so the earlier picture keeps its own settings.
  const FileWriteOutcome picture = WriteCanvasPicture(name);
  if (!picture.ok) {
    ReportSaveFailure("picture", name, std::strerror(picture.error));
    return;
  }
  if (!WriteSettingsFile(name)) ReportSaveFailure("settings", SettingsFileName(name), "write failed");
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
