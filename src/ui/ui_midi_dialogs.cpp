// SPDX-License-Identifier: GPL-3.0-or-later
// The Import MIDI dialog (the picture a MIDI file's notes will give, beside the tracks, channels, time and canvas
// choices, remade as they change) and the Export MIDI dialog (the silence threshold and the notes it gives).
#include <QBoxLayout>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/ui.h"
#include "ui/ui_canvas_widget.h"
#include "ui/ui_preview_dialog.h"
#include "ui/ui_qt.h"

namespace {

constexpr int MainWindowNumber = 0;
constexpr int ChoicesWidth = 330;
constexpr int ChannelColumns = 4;
constexpr int TrackListLines = 6;
constexpr int TextLines = 4;  // room kept for the text, so the dialog does not jump as it changes

struct MidiControls {
  QListWidget* tracks = nullptr;
  std::array<QCheckBox*, MidiChannels> channels{};
  QRadioButton* setDuration = nullptr;
  QRadioButton* fitDuration = nullptr;
  QRadioButton* replace = nullptr;
  QRadioButton* paintOver = nullptr;
  QLabel* picture = nullptr;
  QLabel* text = nullptr;
};

NoteChoice ChoiceShown(const MidiControls& c) {
  NoteChoice choice;
  for (int row = 0; row < c.tracks->count(); ++row) choice.tracks.push_back(c.tracks->item(row)->checkState() == Qt::Checked);
  for (std::size_t channel = 0; channel < c.channels.size(); ++channel) choice.channels[channel] = c.channels[channel]->isChecked();
  choice.fitDuration = c.fitDuration->isChecked();
  choice.paintOver = c.paintOver->isChecked();
  return choice;
}

void ShowPreview(MidiControls& c, const MidiPreviewMaker& make) {
  const MidiPreview preview = make(ChoiceShown(c));
  QImage image = RasterToImage(preview.picture);
  if (image.isNull()) {
    image = QImage(CanvasSize, CanvasSize, QImage::Format_RGBX8888);
    image.fill(Qt::black);
  }
  c.picture->setPixmap(QPixmap::fromImage(image));
  c.text->setText(QString::fromStdString(preview.text));
}

// Two choices side by side, each a radio button of their own group.
QWidget* RadioPair(QWidget* parent, QRadioButton*& first, const char* firstText, const char* firstName,
                   QRadioButton*& second, const char* secondText, const char* secondName) {
  auto* box = new QWidget(parent);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  first = new QRadioButton(QString::fromUtf8(firstText), box);
  second = new QRadioButton(QString::fromUtf8(secondText), box);
  first->setObjectName(QString::fromUtf8(firstName));
  second->setObjectName(QString::fromUtf8(secondName));
  column->addWidget(first);
  column->addWidget(second);
  return box;
}

QFormLayout* BuildChoices(QDialog* dialog, MidiControls& c, const MidiFileFacts& file, const NoteChoice& choice) {
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  c.tracks = new QListWidget(dialog);
  c.tracks->setObjectName(QStringLiteral("tracks"));
  for (std::size_t track = 0; track < file.tracks.size(); ++track) {
    auto* item = new QListWidgetItem(QString::fromStdString(file.tracks[track]), c.tracks);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(track >= choice.tracks.size() || choice.tracks[track] ? Qt::Checked : Qt::Unchecked);
  }
  c.tracks->setFixedHeight(TrackListLines * c.tracks->fontMetrics().lineSpacing());
  form->addRow(QStringLiteral("&Tracks:"), c.tracks);
  auto* grid = new QGridLayout;
  for (int channel = 0; channel < MidiChannels; ++channel) {
    QString label = QString::number(channel + 1);
    if (channel == DrumChannel) label += QStringLiteral(" drums");
    auto* box = new QCheckBox(label, dialog);
    box->setObjectName(QStringLiteral("channel%1").arg(channel + 1));
    box->setChecked(choice.channels[static_cast<std::size_t>(channel)]);
    box->setToolTip(QStringLiteral("%1 notes").arg(file.channelNotes[static_cast<std::size_t>(channel)]));
    box->setEnabled(file.channelNotes[static_cast<std::size_t>(channel)] > 0);
    grid->addWidget(box, channel / ChannelColumns, channel % ChannelColumns);
    c.channels[static_cast<std::size_t>(channel)] = box;
  }
  form->addRow(QStringLiteral("Channels:"), grid);
  form->addRow(QStringLiteral("Time:"), RadioPair(dialog, c.setDuration, "&Sound Duration becomes the piece's length",
                                                  "setDuration", c.fitDuration, "&Fit into the Sound Duration",
                                                  "fitDuration"));
  (choice.fitDuration ? c.fitDuration : c.setDuration)->setChecked(true);
  form->addRow(QStringLiteral("Canvas:"), RadioPair(dialog, c.replace, "&Replace it", "replace", c.paintOver,
                                                    "&Paint over it", "paintOver"));
  (choice.paintOver ? c.paintOver : c.replace)->setChecked(true);
  return form;
}

}  // namespace

bool UiMidiImportDialog(const MidiFileFacts& file, NoteChoice& choice, const MidiPreviewMaker& makePreview) {
  if (!QCoreApplication::instance() || !makePreview) return false;
  QDialog dialog(UiWindowWidget(MainWindowNumber));
  PrepareModalDialog(dialog, "midiImportDialog", "Import MIDI");
  MidiControls c;
  QFormLayout* form = BuildChoices(&dialog, c, file, choice);
  const QString heading = QString::fromStdString(file.name) + QStringLiteral(": ") +
                          QString::number(file.seconds, 'f', 2) + QStringLiteral(" s");
  const PreviewDialogParts parts = LayOutPreviewDialog(dialog, heading, form, ChoicesWidth, TextLines);
  c.picture = parts.picture;
  c.text = parts.notes;

  ShowPreview(c, makePreview);
  const auto changed = [&c, &makePreview] { ShowPreview(c, makePreview); };
  QObject::connect(c.tracks, &QListWidget::itemChanged, &dialog, changed);
  for (QCheckBox* box : c.channels) QObject::connect(box, &QCheckBox::toggled, &dialog, changed);
  for (QRadioButton* radio : {c.fitDuration, c.paintOver}) QObject::connect(radio, &QRadioButton::toggled, &dialog, changed);
  c.tracks->setFocus();
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (accepted) choice = ChoiceShown(c);
  return accepted;
}

bool UiMidiExportDialog(int& silenceBelow, const std::function<std::string(int)>& count) {
  if (!QCoreApplication::instance() || !count) return false;
  QDialog dialog(UiWindowWidget(MainWindowNumber));
  PrepareModalDialog(dialog, "midiExportDialog", "Export MIDI");
  auto* threshold = new QSpinBox(&dialog);
  threshold->setObjectName(QStringLiteral("silenceBelow"));
  threshold->setRange(1, 255);
  threshold->setValue(silenceBelow);
  auto* text = new QLabel(&dialog);
  text->setObjectName(QStringLiteral("notes"));
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  text->setMinimumWidth(ChoicesWidth);
  text->setMinimumHeight(TextLines * text->fontMetrics().lineSpacing());
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("&Silence below brightness:"), threshold);
  form->addRow(text);
  form->addRow(OkCancelButtons(dialog));
  const auto show = [text, threshold, &count] { text->setText(QString::fromStdString(count(threshold->value()))); };
  show();
  QObject::connect(threshold, &QSpinBox::valueChanged, &dialog, show);
  threshold->setFocus();
  if (dialog.exec() != QDialog::Accepted) return false;
  silenceBelow = threshold->value();
  return true;
}
