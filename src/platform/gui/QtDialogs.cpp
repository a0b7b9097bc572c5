// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

// The window manager hands the focus back to a dialog's owner when it closes. The active
// window alone is not enough: just after a question box has closed there is none yet.
QWidget* Owner() {
  if (auto* asker = qobject_cast<QWidget*>(AskingWindow()); asker && asker->isVisible())
    return asker;
  if (QWidget* active = QApplication::activeWindow()) return active;
  // The main window: the one top-level window that no other window owns.
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && !window->parentWidget() && window->windowType() == Qt::Window)
      return window;
  return nullptr;
}

// Gives the focus back to the owner once the dialog has closed: a window manager that passes
// over tool windows when it picks the next focus (openbox) would give it to the main window.
int ExecForOwner(QDialog& dialog) {
  const QPointer<QWidget> owner = dialog.parentWidget();
  const int result = dialog.exec();
  if (owner && owner->isVisible()) owner->activateWindow();
  return result;
}

}  // namespace

AskingWindowTracker::AskingWindowTracker() { qApp->installEventFilter(this); }

bool AskingWindowTracker::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // A shortcut (Alt+C) is announced by ShortcutOverride; its key press never comes.
  if (type != QEvent::MouseButtonPress && type != QEvent::KeyPress &&
      type != QEvent::ShortcutOverride)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  // Popup menus and the dialogs themselves do not ask; their window has asked already.
  QWidget* window = widget->window();
  const Qt::WindowType kind = window->windowType();
  if (!window->isModal() && (kind == Qt::Window || kind == Qt::Dialog || kind == Qt::Tool))
    SetAskingWindow(window);
  return false;
}

QStringList QtNameFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    QStringList patterns;
    if (i + 1 < parts.size()) {
      for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        if (pattern.isEmpty()) continue;
        patterns << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
      }
    }
    if (name.isEmpty() && patterns.isEmpty()) continue;
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    result << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
  }
  return result;
}

int QtDialogs::Message(const QString& text, int buttons, const QString& title) {
  const bool question = buttons == kOkCancel;
  QMessageBox box(QMessageBox::Warning, title.isEmpty() ? DefaultMessageTitle() : title, text,
                  question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, Owner());
  box.setWindowModality(Qt::ApplicationModal);
  // File names are text, never markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(question ? QMessageBox::Cancel : QMessageBox::Ok);
  ExecForOwner(box);
  return box.clickedButton() == box.button(QMessageBox::Ok) ? kAnswerOk : kAnswerCancel;
}

QString QtDialogs::ChooseFolder(const QString& initial, const QString& prompt) {
  const QString caption = prompt.isEmpty() ? QStringLiteral("请选择一个文件夹") : prompt;
  const QString start = initial.trimmed().isEmpty() || !QFileInfo(initial).isDir()
                            ? QDir::homePath()
                            : initial.trimmed();
  QFileDialog dialog(Owner(), caption, start);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setFileMode(QFileDialog::Directory);
  // Qt's own dialog: it has the path edit field and the new-folder button on every desktop.
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (ExecForOwner(dialog) != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0).trimmed();
}

QStringList QtDialogs::ChooseOpenFiles(const QString& title, const QString& filter,
                                       const QString& initialFile) {
  QFileDialog dialog(Owner(), title);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  const QStringList filters = QtNameFilters(filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
  }
  const QFileInfo initial(initialFile);
  if (!initialFile.isEmpty() && initial.isDir()) {
    dialog.setDirectory(initial.absoluteFilePath());
  } else if (!initialFile.isEmpty()) {
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
  }
  if (ExecForOwner(dialog) != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QString QtDialogs::InputText(const QString& prompt, const QString& initial, bool* ok) {
  QInputDialog dialog(Owner());
  dialog.setWindowTitle(DefaultMessageTitle());
  dialog.setLabelText(prompt);
  dialog.setTextValue(initial);
  const bool accepted = ExecForOwner(dialog) == QDialog::Accepted;
  const QString text = dialog.textValue();
  if (ok) *ok = accepted;
  return accepted ? text : QString();
}
