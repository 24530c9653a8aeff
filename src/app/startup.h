// Start-up and shut-down of the program around its event loop.
#pragma once

// Steps before the loop: globals, images, the main window with its menu and controls, blank surfaces.
// Returns false when the main window cannot be opened (nothing else is created then).
bool StartUp();
// Releases every window, control and image.
void ShutDown();
// The whole run: start-up, the event loop until Exit or the close box, shut-down. Returns the exit status, 0.
int RunVellora();
