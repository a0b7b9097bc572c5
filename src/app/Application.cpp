// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "rename/RenameJournal.h"
#include "settings/ConfigDir.h"

Application::Application(const QString& configDir, std::unique_ptr<SoundOutput> sound)
    : configDir_(configDir),
      sound_(std::move(sound)),
      player_(list_, status_, *sound_, options_.play),
      fileOps_(list_, status_, options_.move),
      finder_(list_, status_, options_.find, player_),
      scan_(list_, status_, scanMatcher_),
      renamer_(list_, renameMatcher_, undo_, RenameJournalPath(configDir)) {
  settings_.Open(SettingsFilePath(configDir));
  // A rename killed inside a cycle: its files get their names back, said once.
  if (const QString note = RecoverRenameJournal(RenameJournalPath(configDir)); !note.isEmpty())
    status_.SetMessage(note);
  tooltips_.Create(true, true);
}

Application::~Application() = default;
