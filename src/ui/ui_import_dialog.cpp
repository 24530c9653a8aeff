// SPDX-License-Identifier: GPL-3.0-or-later
// The Import dialog: the picture a sound file will give, beside the choices it is made with, remade as they change.
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

#include "sound/analysis.h"
#include "ui/ui.h"
#include "ui/ui_canvas_widget.h"
#include "ui/ui_preview_dialog.h"
#include "ui/ui_qt.h"

namespace {

constexpr int MainWindowNumber = 0;
constexpr int GainLimitDb = 60;
constexpr int StartStepMs = 100;
constexpr int StartPageMs = 1000;
constexpr int ChoicesWidth = 330;
constexpr int NotesLines = 4;  // room kept for the notes, so the dialog does not jump as they come and go
constexpr int PreviewLookMs = 5;

struct ImportControls {
  QRadioButton* amplitude = nullptr;
  QRadioButton* decibels = nullptr;
  QSpinBox* range = nullptr;
  QSpinBox* gain = nullptr;
  QComboBox* channel = nullptr;  // none for a sound of one channel
  QSlider* start = nullptr;      // none for a sound no longer than the stretch
  QLabel* startText = nullptr;
  QRadioButton* between = nullptr;
  QRadioButton* nearest = nullptr;
  QCheckBox* fit = nullptr;
  QLabel* frequencies = nullptr;
  QLabel* picture = nullptr;
  QLabel* notes = nullptr;
  QPushButton* ok = nullptr;
};

ImportChoice ChoiceShown(const ImportControls& c) {
  ImportChoice choice;
  choice.decibels = c.decibels->isChecked();
  choice.rangeDb = c.range->value();
  choice.gainDb = c.gain->value();
  choice.channel = c.channel ? c.channel->currentIndex() : 0;
  choice.startMs = c.start ? c.start->value() : 0;
  choice.nearestRow = c.nearest->isChecked();
  choice.fitRange = c.fit->isChecked();
  return choice;
}

QString Seconds(int milliseconds) { return QString::number(milliseconds / 1000.0, 'f', 2) + QStringLiteral(" s"); }

QString StretchText(int startMs) {
  const int lengthMs = static_cast<int>(LongestAnalysedSeconds * 1000.0);
  return QStringLiteral("%1 to %2").arg(Seconds(startMs), Seconds(startMs + lengthMs));
}

// Only the decibel scale has a range.
void ShowScale(ImportControls& c) { c.range->setEnabled(c.decibels->isChecked()); }

void ShowPreview(ImportControls& c, const ImportPreview& preview) {
  QImage image = RasterToImage(preview.picture);
  if (image.isNull()) {
    image = QImage(CanvasSize, CanvasSize, QImage::Format_RGBX8888);
    image.fill(Qt::black);
  }
  c.picture->setPixmap(QPixmap::fromImage(image));
  const QString range = QStringLiteral("Frq From %1 Hz, Frq To %2 Hz").arg(preview.frqFrom).arg(preview.frqTo);
  c.frequencies->setText(preview.frqTo > 0 ? range : QString());  // none while the first picture is being made
  QStringList notes;
  for (const std::string& note : preview.notes) notes << QString::fromStdString(note);
  c.notes->setText(preview.error.empty() ? notes.join(QLatin1Char('\n')) : QString::fromStdString(preview.error));
  c.ok->setEnabled(preview.error.empty());
}

// Pictures are made on a thread of their own, one at a time, so that input never waits for one; choices made
// while one is being made are taken up, as they stand then, once it is shown. The main thread looks for the
// picture every few milliseconds, as the playback wait does for buffers: nothing crosses between the threads but
// the picture, handed over through the flag and the join.
struct PreviewWorker {
  std::thread thread;
  std::atomic<bool> done{false};  // set by the thread once made holds its picture
  ImportPreview made;
  bool busy = false;    // a picture is being made
  bool wanted = false;  // the choices changed since it was begun
  QTimer* look = nullptr;
};

void MakePreview(QDialog* dialog, ImportControls& c, PreviewWorker& worker, const ImportPreviewMaker& make) {
  if (worker.busy) {
    worker.wanted = true;
    return;
  }
  worker.busy = true;
  worker.wanted = false;
  worker.done.store(false, std::memory_order_relaxed);
  dialog->setProperty("previewPending", true);  // tests wait for it to clear
  worker.thread = std::thread([&worker, &make, choice = ChoiceShown(c)] {
    worker.made = make(choice);
    worker.done.store(true, std::memory_order_release);
  });
  worker.look->start();
}

// The timer's look: shows a finished picture and begins the next one if the choices changed meanwhile.
void TakePreview(QDialog* dialog, ImportControls& c, PreviewWorker& worker, const ImportPreviewMaker& make) {
  if (!worker.busy || !worker.done.load(std::memory_order_acquire)) return;
  worker.thread.join();
  worker.busy = false;
  worker.look->stop();
  ShowPreview(c, worker.made);
  if (worker.wanted) return MakePreview(dialog, c, worker, make);
  dialog->setProperty("previewPending", false);
}

// Two choices side by side, each a radio button of their own group.
QWidget* RadioPair(QWidget* parent, QRadioButton*& first, const char* firstText, const char* firstName,
                   QRadioButton*& second, const char* secondText, const char* secondName) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  first = new QRadioButton(QString::fromUtf8(firstText), box);
  second = new QRadioButton(QString::fromUtf8(secondText), box);
  first->setObjectName(QString::fromUtf8(firstName));
  second->setObjectName(QString::fromUtf8(secondName));
  row->addWidget(first);
  row->addWidget(second);
  row->addStretch();
  return box;
}

QSpinBox* DecibelBox(QWidget* parent, const char* name, int minimum, int maximum) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setRange(minimum, maximum);
  box->setSuffix(QStringLiteral(" dB"));
  return box;
}

// The choices for this sound, set to choice; the channel and start only where the sound offers them.
QFormLayout* BuildChoices(QDialog* dialog, ImportControls& c, const ImportSoundFacts& sound, const ImportChoice& choice) {
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  form->addRow(QStringLiteral("Scale:"), RadioPair(dialog, c.amplitude, "&Amplitude", "amplitude", c.decibels,
                                                   "&Decibels", "decibels"));
  (choice.decibels ? c.decibels : c.amplitude)->setChecked(true);
  c.range = DecibelBox(dialog, "range", static_cast<int>(MinimumRangeDb), static_cast<int>(MaximumRangeDb));
  c.range->setValue(choice.rangeDb);
  form->addRow(QStringLiteral("&Range:"), c.range);
  c.gain = DecibelBox(dialog, "gain", -GainLimitDb, GainLimitDb);
  c.gain->setValue(choice.gainDb);
  form->addRow(QStringLiteral("&Gain:"), c.gain);
  if (sound.channels > 1) {
    c.channel = new QComboBox(dialog);
    c.channel->setObjectName(QStringLiteral("channel"));
    c.channel->addItem(QStringLiteral("Mix of all %1 channels").arg(sound.channels));
    for (int number = 1; number <= sound.channels; ++number) c.channel->addItem(QStringLiteral("Channel %1").arg(number));
    c.channel->setCurrentIndex(std::clamp(choice.channel, 0, sound.channels));
    form->addRow(QStringLiteral("C&hannel:"), c.channel);
  }
  if (sound.latestStartMs > 0) {
    c.start = new QSlider(Qt::Horizontal, dialog);
    c.start->setObjectName(QStringLiteral("start"));
    c.start->setRange(0, sound.latestStartMs);
    c.start->setSingleStep(StartStepMs);
    c.start->setPageStep(StartPageMs);
    c.start->setValue(choice.startMs);
    c.startText = new QLabel(StretchText(c.start->value()), dialog);
    c.startText->setMinimumWidth(c.startText->fontMetrics().horizontalAdvance(StretchText(sound.latestStartMs)));
    auto* row = new QHBoxLayout;
    row->addWidget(c.start, 1);
    row->addWidget(c.startText);
    form->addRow(QStringLiteral("S&tart:"), row);
    qobject_cast<QLabel*>(form->labelForField(row))->setBuddy(c.start);
  }
  form->addRow(QStringLiteral("Placement:"), RadioPair(dialog, c.between, "&Between rows", "between", c.nearest,
                                                       "&Nearest row", "nearest"));
  (choice.nearestRow ? c.nearest : c.between)->setChecked(true);
  c.fit = new QCheckBox(QStringLiteral("&Fit frequency range"), dialog);
  c.fit->setObjectName(QStringLiteral("fit"));
  c.fit->setChecked(choice.fitRange);
  form->addRow(c.fit);
  c.frequencies = new QLabel(dialog);
  form->addRow(c.frequencies);
  return form;
}

QString Heading(const ImportSoundFacts& sound) {
  QString text = QString::fromStdString(sound.name) + QStringLiteral(": ") + QString::number(sound.seconds, 'f', 2) +
                 QStringLiteral(" s at %1 Hz").arg(sound.sampleRate);
  if (sound.channels > 1) text += QStringLiteral(", %1 channels").arg(sound.channels);
  return text;
}

}  // namespace

bool UiImportDialog(const ImportSoundFacts& sound, ImportChoice& choice, const ImportPreviewMaker& makePreview) {
  if (!QCoreApplication::instance() || !makePreview) return false;
  QDialog dialog(UiWindowWidget(MainWindowNumber));
  PrepareModalDialog(dialog, "importDialog", "Import Sound");
  ImportControls c;
  QFormLayout* form = BuildChoices(&dialog, c, sound, choice);
  const PreviewDialogParts parts = LayOutPreviewDialog(dialog, Heading(sound), form, ChoicesWidth, NotesLines);
  c.picture = parts.picture;
  c.notes = parts.notes;
  QDialogButtonBox* buttons = parts.buttons;
  c.ok = buttons->button(QDialogButtonBox::Ok);

  // Tab follows the choices from the top, then OK and Cancel.
  QList<QWidget*> order = {c.amplitude, c.decibels, c.range, c.gain};
  if (c.channel) order << c.channel;
  if (c.start) order << c.start;
  order << c.between << c.nearest << c.fit << c.ok << buttons->button(QDialogButtonBox::Cancel);
  for (qsizetype i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);

  ShowScale(c);
  ShowPreview(c, ImportPreview{});
  c.notes->setText(QStringLiteral("Making the picture\u2026"));
  PreviewWorker worker;
  worker.look = new QTimer(&dialog);
  worker.look->setInterval(PreviewLookMs);
  QObject::connect(worker.look, &QTimer::timeout, &dialog, [&dialog, &c, &worker, &makePreview] {
    TakePreview(&dialog, c, worker, makePreview);
  });
  MakePreview(&dialog, c, worker, makePreview);
  const auto changed = [&dialog, &c, &worker, &makePreview] {
    ShowScale(c);
    if (c.start) c.startText->setText(StretchText(c.start->value()));
    MakePreview(&dialog, c, worker, makePreview);
  };
  for (QRadioButton* radio : {c.amplitude, c.nearest}) QObject::connect(radio, &QRadioButton::toggled, &dialog, changed);
  for (QSpinBox* box : {c.range, c.gain}) QObject::connect(box, &QSpinBox::valueChanged, &dialog, changed);
  if (c.channel) QObject::connect(c.channel, &QComboBox::currentIndexChanged, &dialog, changed);
  if (c.start) QObject::connect(c.start, &QSlider::valueChanged, &dialog, changed);
  QObject::connect(c.fit, &QCheckBox::toggled, &dialog, changed);

  (c.decibels->isChecked() ? c.decibels : c.amplitude)->setFocus();
  const bool accepted = dialog.exec() == QDialog::Accepted;
  // The picture being made is not waited for while the dialog is open; it is now, before its owner goes.
  if (worker.thread.joinable()) worker.thread.join();
  if (accepted) choice = ChoiceShown(c);
  return accepted;
}
