// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScriptedDialogs.h"

namespace {

template <typename T>
bool PopFront(std::deque<T>& queue, T* out) {
  if (queue.empty()) return false;
  *out = std::move(queue.front());
  queue.pop_front();
  return true;
}

}  // namespace

int ScriptedDialogs::Message(const QString& text, int buttons, const QString& title) {
  prompts.append({Prompt::kMessage, text, title.isEmpty() ? DefaultMessageTitle() : title, buttons,
                  QString(), AskingWindow()});
  int answer;
  if (PopFront(messageAnswers, &answer)) return answer;
  return buttons == kOkCancel ? kAnswerCancel : kAnswerOk;
}

QString ScriptedDialogs::ChooseFolder(const QString& initial, const QString& prompt) {
  prompts.append({Prompt::kFolder, prompt, initial, 0, QString(), AskingWindow()});
  QString folder;
  PopFront(folders, &folder);
  return folder;
}

QStringList ScriptedDialogs::ChooseOpenFiles(const QString& title, const QString& filter,
                                             const QString& initialFile) {
  const int pairs = int((filter.split(QLatin1Char('|')).size() + 1) / 2);
  prompts.append({Prompt::kOpenFiles, title, initialFile, filter.isEmpty() ? 0 : pairs, filter,
                  AskingWindow()});
  QStringList files;
  PopFront(openFiles, &files);
  return files;
}

QString ScriptedDialogs::InputText(const QString& prompt, const QString& initial, bool* ok) {
  prompts.append({Prompt::kInput, prompt, initial, 0, QString(), AskingWindow()});
  QString text;
  const bool answered = PopFront(inputs, &text);
  if (ok) *ok = answered;
  return text;
}
