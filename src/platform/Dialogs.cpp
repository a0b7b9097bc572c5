// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include <QPointer>

#include "platform/Files.h"
#include "platform/ScriptedDialogs.h"

namespace {

std::unique_ptr<Dialogs>& Installed() {
  static std::unique_ptr<Dialogs> installed;
  return installed;
}

// What answers before the application installs its dialogs: every question is cancelled, so
// nothing that asks first can go ahead by accident.
Dialogs& Fallback() {
  static ScriptedDialogs fallback;
  return fallback;
}

QPointer<QObject>& Asker() {
  static QPointer<QObject> asker;
  return asker;
}

}  // namespace

QObject* AskingWindow() { return Asker(); }

void SetAskingWindow(QObject* window) { Asker() = window; }

Dialogs& CurrentDialogs() {
  Dialogs* d = Installed().get();
  return d ? *d : Fallback();
}

std::unique_ptr<Dialogs> InstallDialogs(std::unique_ptr<Dialogs> d) {
  std::swap(Installed(), d);
  return d;
}

int ShowMessage(const QString& text, int buttons, const QString& title) {
  return CurrentDialogs().Message(text, buttons, title.isEmpty() ? DefaultMessageTitle() : title);
}

QString BrowseForFolder(const QString& initial, const QString& prompt) {
  const QString chosen = CurrentDialogs().ChooseFolder(
      initial, prompt.isEmpty() ? QStringLiteral("请选择一个文件夹") : prompt);
  // A directory whose name really ends in a blank is kept as chosen.
  if (chosen.isEmpty() || Files::IsDirectory(chosen)) return chosen;
  return chosen.trimmed();
}
