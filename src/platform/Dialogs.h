// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

// Every modal question of the program goes through this interface, so tests answer it from a
// script. The real implementation is installed by the application (platform/gui/QtDialogs).
class Dialogs {
 public:
  enum Buttons { kOk = 0, kOkCancel = 1 };
  enum Answer { kAnswerOk = 0, kAnswerCancel = 1 };

  virtual ~Dialogs() = default;
  // Warning icon, application-modal; an empty title becomes "Tovrik：". Returns 0 OK, 1 Cancel.
  virtual int Message(const QString& text, int buttons, const QString& title) = 0;
  // A directory chooser opened at initial; the chosen directory, or "" when cancelled.
  virtual QString ChooseFolder(const QString& initial, const QString& prompt) = 0;
  // Multiple-selection open-file dialog. filter is "name|patterns|name|patterns..." with the
  // patterns separated by ";" ("Wav波形|*.wav;*.mid|所有文件|*.*"). None on cancel.
  virtual QStringList ChooseOpenFiles(const QString& title, const QString& filter,
                                      const QString& initialFile) = 0;
  // One-line input box; "" and *ok false on cancel.
  virtual QString InputText(const QString& prompt, const QString& initial, bool* ok) = 0;
};

// The installed dialogs; a ScriptedDialogs that answers Cancel until something is installed.
Dialogs& CurrentDialogs();
// Installs d and returns the previous one.
std::unique_ptr<Dialogs> InstallDialogs(std::unique_ptr<Dialogs> d);

// The window whose command asks: the program's dialogs are owned by it, so the window manager
// gives it the focus back when they close. Kept by AskingWindowTracker (platform/gui); null
// before any window has asked, or once it is gone.
QObject* AskingWindow();
void SetAskingWindow(QObject* window);

inline const QString& DefaultMessageTitle() {
  static const QString title = QStringLiteral("Tovrik：");
  return title;
}

// The program's message box: buttons 0 OK, 1 OK/Cancel; an empty title becomes "Tovrik：".
// Returns 0 for OK, 1 for Cancel.
int ShowMessage(const QString& text, int buttons = 0, const QString& title = QString());
// A directory chooser opened at initial; "" when cancelled. Default prompt "请选择一个文件夹".
// Surrounding blanks are trimmed unless the untrimmed text is itself an existing directory.
QString BrowseForFolder(const QString& initial, const QString& prompt = QString());
