// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <deque>

#include "platform/Dialogs.h"

// Stand-in for tests: records every prompt and returns queued answers. With nothing queued a
// message box answers Cancel for OK/Cancel and OK for OK only; the choosers answer "cancelled".
class ScriptedDialogs : public Dialogs {
 public:
  struct Prompt {
    enum Kind { kMessage, kFolder, kOpenFiles, kInput } kind;
    QString text;     // message text, or the prompt / title
    QString title;    // message title after defaulting; initial folder, file or text otherwise
    int buttons = 0;  // message buttons; filter count for open-file
    QString filter;   // open-file filter text
    const QObject* owner = nullptr;  // the asking window when asked
  };

  int Message(const QString& text, int buttons, const QString& title) override;
  QString ChooseFolder(const QString& initial, const QString& prompt) override;
  QStringList ChooseOpenFiles(const QString& title, const QString& filter,
                              const QString& initialFile) override;
  QString InputText(const QString& prompt, const QString& initial, bool* ok) override;

  void QueueMessageAnswer(int answer) { messageAnswers.push_back(answer); }
  void QueueFolder(const QString& folder) { folders.push_back(folder); }
  void QueueOpenFiles(const QStringList& files) { openFiles.push_back(files); }
  void QueueInput(const QString& text) { inputs.push_back(text); }

  QList<Prompt> prompts;
  std::deque<int> messageAnswers;
  std::deque<QString> folders;
  std::deque<QStringList> openFiles;
  std::deque<QString> inputs;
};
