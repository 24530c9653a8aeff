// The Save and Load buttons: the picture as a bitmap file, with the settings file beside it.
#pragma once

// SaveButton: asks for a name, writes the canvas picture as a 24-bit bitmap (whatever the filter), then the
// settings file. A picture that cannot be written leaves both earlier files as they were; either failure is
// reported in a message box. A cancel does nothing.
void RunSaveCommand();
// LoadButton: asks for a file, resets Repeat, shows the picture stretched to the canvas if it can be read,
// then reads the settings file beside it. A cancel does nothing.
void RunLoadCommand();
