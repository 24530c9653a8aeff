// SPDX-License-Identifier: GPL-3.0-or-later
// The frame the import dialogs share: a modal dialog with a heading, the picture beside the choices, OK and Cancel.
#include "ui/ui_preview_dialog.h"

#include <QBoxLayout>
#include <QPushButton>

#include "picture/raster.h"

void PrepareModalDialog(QDialog& dialog, const char* objectName, const char* title) {
  dialog.setObjectName(QString::fromUtf8(objectName));
  dialog.setWindowTitle(QString::fromUtf8(title));
  dialog.setWindowModality(Qt::ApplicationModal);
}

QDialogButtonBox* OkCancelButtons(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

PreviewDialogParts LayOutPreviewDialog(QDialog& dialog, const QString& heading, QFormLayout* choices, int choicesWidth,
                                       int notesLines) {
  PreviewDialogParts parts;
  auto* title = new QLabel(heading, &dialog);
  title->setTextFormat(Qt::PlainText);
  parts.picture = new QLabel(&dialog);
  parts.picture->setObjectName(QStringLiteral("preview"));
  parts.picture->setFixedSize(CanvasSize, CanvasSize);
  parts.notes = new QLabel(&dialog);
  parts.notes->setObjectName(QStringLiteral("notes"));
  parts.notes->setTextFormat(Qt::PlainText);
  parts.notes->setWordWrap(true);
  parts.notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  parts.notes->setMinimumHeight(notesLines * parts.notes->fontMetrics().lineSpacing());
  parts.buttons = OkCancelButtons(dialog);

  auto* column = new QVBoxLayout;
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(choices);
  column->addWidget(parts.notes, 1);
  auto* choicesBox = new QWidget(&dialog);
  choicesBox->setFixedWidth(choicesWidth);
  choicesBox->setLayout(column);
  auto* middle = new QHBoxLayout;
  middle->addWidget(parts.picture, 0, Qt::AlignTop);
  middle->addWidget(choicesBox);
  auto* whole = new QVBoxLayout(&dialog);
  whole->setSizeConstraint(QLayout::SetFixedSize);
  whole->addWidget(title);
  whole->addLayout(middle);
  whole->addWidget(parts.buttons);
  return parts;
}
