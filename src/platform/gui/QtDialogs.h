// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

#include "platform/Dialogs.h"

// Follows the user's clicks and keys: the non-modal window that takes one becomes the asking
// window (Dialogs.h). Installs itself on the application.
class AskingWindowTracker : public QObject {
 public:
  AskingWindowTracker();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The dialogs of the running program: QMessageBox, QFileDialog and QInputDialog, each
// application-modal and owned by the asking window, else the active one, else the main window.
class QtDialogs : public Dialogs {
 public:
  int Message(const QString& text, int buttons, const QString& title) override;
  QString ChooseFolder(const QString& initial, const QString& prompt) override;
  QStringList ChooseOpenFiles(const QString& title, const QString& filter,
                              const QString& initialFile) override;
  QString InputText(const QString& prompt, const QString& initial, bool* ok) override;

 private:
  AskingWindowTracker tracker_;
};

// "Wav波形|*.wav;*.mid|所有文件|*.*" as Qt name filters: {"Wav波形 (*.wav *.mid)",
// "所有文件 (*)"}. "*.*" becomes "*", which also matches names without a dot.
QStringList QtNameFilters(const QString& filter);
