// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's fixed layout keeps every text whole whatever fonts the system offers; the README's picture
// of the window on such a system is what the program draws.
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <fstream>
#include "support/ui_driver.h"

namespace {

// The width a control leaves for its text: a label's contents, the label area of a button or checkbox.
int TextRoom(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->contentsRect().width() - 2 * label->margin();
  QStyleOptionButton option;
  option.initFrom(widget);
  const auto area = qobject_cast<QPushButton*>(widget) ? QStyle::SE_PushButtonContents : QStyle::SE_CheckBoxContents;
  return widget->style()->subElementRect(area, &option, widget).width();
}

// A system whose only fonts are DejaVu's (Debian's fonts-dejavu-core), DejaVu Sans its sans-serif face.
// Fontconfig is read when the toolkit starts, so the program starts after the set is chosen.
TEST(FontsOfTheSystem, OnlyDejaVuStillShowsEveryTextWholeInLiberationSans) {
  QTemporaryDir folder;
  std::ofstream(folder.filePath("fonts.conf").toStdString())
      << "<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><alias><family>sans-serif</family>"
         "<prefer><family>DejaVu Sans</family></prefer></alias></fontconfig>\n";
  setenv("FONTCONFIG_FILE", folder.filePath("fonts.conf").toLocal8Bit().constData(), 1);
  ASSERT_TRUE(StartUp());
  for (const ControlEntry& entry : MainControls()) {
    if (entry.label.empty() || entry.kind == ControlKind::GroupFrame) continue;
    QWidget* widget = UiWidget(entry.number);
    const QString text = QString::fromUtf8(entry.label.data(), qsizetype(entry.label.size()));
    EXPECT_EQ(QFontInfo(widget->font()).family().toStdString(), "Liberation Sans") << entry.label;
    EXPECT_LE(widget->fontMetrics().horizontalAdvance(text), TextRoom(widget)) << entry.label;
  }
  // VELLORA_WRITE_PICTURES=1 writes the picture anew, for a change that is meant to alter the window.
  const QString committed = QStringLiteral(VELLORA_SOURCE_DIR "/docs/main-window-dejavu-only.png");
  const QImage drawn = UiWindowWidget(MainWindow)->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (qEnvironmentVariableIntValue("VELLORA_WRITE_PICTURES")) {
    ASSERT_TRUE(drawn.save(committed));
  }
  const QString shown = QString::fromStdString(testing::TempDir()) + QStringLiteral("main-window-dejavu-only.png");
  const bool same = drawn == QImage(committed).convertToFormat(QImage::Format_RGB32);
  if (!same) drawn.save(shown);
  EXPECT_TRUE(same) << "the window now draws " << shown.toStdString();
  ShutDown();
}

}  // namespace
