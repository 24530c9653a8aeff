// SPDX-License-Identifier: GPL-3.0-or-later
// The frame the import dialogs share: a modal dialog with a heading, the picture a choice gives beside the
// choices and their notes, and OK and Cancel below.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

// Names and titles the dialog and makes it block the whole program while it is open.
void PrepareModalDialog(QDialog& dialog, const char* objectName, const char* title);
// OK (the default button, Enter) and Cancel (Escape), which accept and reject the dialog.
QDialogButtonBox* OkCancelButtons(QDialog& dialog);

struct PreviewDialogParts {
  QLabel* picture = nullptr;  // "preview": the canvas-sized picture
  QLabel* notes = nullptr;    // "notes": plain text under the choices, room kept for notesLines lines
  QDialogButtonBox* buttons = nullptr;
};
// Lays the dialog out: the heading (plain text) above, the picture beside a column choicesWidth wide of the
// choices and the notes, OK and Cancel below; the dialog keeps the size its contents need.
PreviewDialogParts LayOutPreviewDialog(QDialog& dialog, const QString& heading, QFormLayout* choices, int choicesWidth,
                                       int notesLines);
