// The help window's fixed text and its read-only text box, and the About message.
#include "app/help_window.h"

#include <array>

#include "app/control_ids.h"
#include "ui/ui.h"

namespace {

constexpr int HelpClientWidth = 638;
constexpr int HelpClientHeight = 265;
constexpr int HelpTextMargin = 5;
constexpr int HelpTextWidth = 628;
constexpr int HelpTextHeight = 250;

// Every piece starts a new line; all but the first end with a carriage return.
constexpr std::array<const char*, 17> HelpPieces = {
    "\nDraw in black canvas area, load an image or draw on a loaded image and press 'Synthesize' to hear image converted to sound",
    "\nYou can change various characteristics of the sound by means of the 'Sound' group of controls at the right of the application\r",
    "\n*Color Selector button: Square button above the Brush button launches a color selection palette for the Brush and Line tools\r",
    "\n*Line button: Click to paint lines on the black canvas area\r",
    "\n*Clear button: Click to completely erase your drawing or loaded image\r",
    "\n*Rotate button: Every Click of this button rotates the drawing or loaded image clockwise by 90 degrees\r",
    "\n*Synthesize button: Creates a sound from the image and then plays it while scanning across the image\r",
    "\n*Repeat: If you tick this checkbox and press Synthesize, the application will play the last synthesized sound\r",
    "\n*Save button: Allows you to save your image in .BMP (uncompressed image) format\r",
    "\n*Load button: Allows you to load your saved image, or any .BMP file, or any .JPG file into the application\r",
    "\n*Sound Duration slider: Sets the length of the synthesized sound - from under a second to about 12 seconds\r",
    "\n*Sample Rate slider: Sets resolution of the synthesized sound. A higher sound fidelity (resolution) takes longer to compute\r",
    "\n*Enable Frequency Distribution: Enables user-modifiable frequency distribution. If unticked, default distribution applies\r",
    "\n*Adjust Distribution sliders: Adjust to modify the frequency distribution curve. Curve appears in the window above the sliders\r",
    "\n*Frq From slider: Sets the From frequency of the frequency distribution (at the lowest point, a few tens of Hz)\r",
    "\n*Frq To slider: Sets the To frequency of the frequency distribution (at the highest point, around 10kHz)\r",
    "\n*Adjust Frequency Band Level: Adjust level in the final sound of each sinewave created from each pixel row\r",
};

}  // namespace

std::string BuildHelpText() {
  std::string text;
  for (const char* piece : HelpPieces) text += piece;
  return text;
}

void OpenHelpWindow() {
  if (!UiOpenWindow(HelpWindow, "Vellora Help", HelpClientWidth, HelpClientHeight)) return;
  const int textBox = UiCreateControl(HelpWindow, -1, ControlKind::RichText, HelpTextMargin, HelpTextMargin,
                                      HelpTextWidth, HelpTextHeight);
  if (textBox < 0) return;
  UiSetText(textBox, BuildHelpText());
}

void ShowAboutMessage() { UiMessageBox("About Vellora", "Vellora 1.0\nPaint a picture and hear it."); }
