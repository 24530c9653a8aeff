// SPDX-License-Identifier: GPL-3.0-or-later
// The standard dialogs: open and save file, colour chooser and the message box.
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#include "ui/ui.h"
#include "ui/ui_qt.h"

namespace {

constexpr int MainWindowNumber = 0;

// A file dialog that will not take a path whose folder does not exist.
class FolderCheckingFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty() && !QFileInfo(chosen.first()).absoluteDir().exists()) {
      QMessageBox::warning(this, windowTitle(),
                           tr("The folder %1 does not exist.").arg(QFileInfo(chosen.first()).absolutePath()));
      return;
    }
    QFileDialog::accept();
  }
};

// Names each file's type by its name alone. The toolkit's own provider reads a file to guess its type, and a read
// can wait for good: in /proc, kmsg waits for the next kernel message, and held the requester and the program.
class NameOnlyIconProvider : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QFileIconProvider::type(info);  // a folder's type is read from no file
    if (!info.isFile()) return QStringLiteral("Special file");
    const QList<QMimeType> byName = QMimeDatabase().mimeTypesForFileName(info.fileName());
    if (byName.isEmpty()) return QStringLiteral("File");
    return byName.first().comment().isEmpty() ? byName.first().name() : byName.first().comment();
  }
};

// "Label|pattern|Label|pattern" as the dialog's name filters: a label that names its patterns in
// brackets is used as it stands, any other gets them added.
QStringList NameFilters(const std::string& filters) {
  const QStringList parts = QString::fromStdString(filters).split(QLatin1Char('|'));
  QStringList names;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString label = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')).trimmed();
    names << (label.contains(QLatin1Char('(')) ? label : label + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return names;
}

QWidget* Owner() { return UiWindowWidget(MainWindowNumber); }

// Given an empty title, the toolkit writes the program's name into the title X11 window managers show
// (_NET_WM_NAME); the window is made first and that name emptied, as the title of the window itself already is.
void ShowWithoutTitle(QWidget& window) {
#if QT_CONFIG(xcb)
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const char* names[] = {"_NET_WM_NAME", "UTF8_STRING"};
  xcb_intern_atom_reply_t* atoms[2];
  for (int i = 0; i < 2; ++i) {
    const xcb_intern_atom_cookie_t asked = xcb_intern_atom(connection, 0, std::strlen(names[i]), names[i]);
    atoms[i] = xcb_intern_atom_reply(connection, asked, nullptr);
  }
  if (atoms[0] && atoms[1])
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atoms[0]->atom, atoms[1]->atom, 8, 0, nullptr);
  std::free(atoms[0]), std::free(atoms[1]);
  xcb_flush(connection);
#else
  (void)window;
#endif
}

}  // namespace

FileChoice UiFileDialog(bool save, const std::string& title, const std::string& filters) {
  FileChoice choice;
  if (!QCoreApplication::instance()) return choice;
  const QString workingFolder = QDir::currentPath();

  NameOnlyIconProvider iconProvider;  // outlives the dialog, whose file list calls it
  // Opened on the working folder: with none it would first list the folder of the toolkit's last requester.
  FolderCheckingFileDialog dialog(Owner(), QString::fromStdString(title), workingFolder);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&iconProvider);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Either mode takes a name that does not exist yet: opening it then fails as for any unreadable file.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(workingFolder);
  const QStringList names = NameFilters(filters);
  if (!names.isEmpty()) {
    dialog.setNameFilters(names);
    dialog.selectNameFilter(names.first());
  }
  dialog.setWindowModality(Qt::ApplicationModal);

  const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  QDir::setCurrent(workingFolder);
  if (!accepted) return choice;
  choice.path = dialog.selectedFiles().first().toStdString();
  choice.filterIndex = names.isEmpty() ? 0 : std::max<int>(0, static_cast<int>(names.indexOf(dialog.selectedNameFilter())));
  return choice;
}

std::int64_t UiChooseColour(Colour initial) {
  if (!QCoreApplication::instance()) return -1;
  QColorDialog dialog(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), Owner());
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return -1;
  const QColor chosen = dialog.selectedColor();
  if (!chosen.isValid()) return -1;
  return MakeColour(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                    static_cast<std::uint8_t>(chosen.blue()));
}

void UiMessageBox(const std::string& title, const std::string& text) {
  if (!QCoreApplication::instance()) return;
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, Owner());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  if (title.empty()) ShowWithoutTitle(box);
  box.exec();
}
