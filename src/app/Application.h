// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <memory>

#include "core/StatusTexts.h"
#include "fileops/FileOperations.h"
#include "find/Finder.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/SoundOutput.h"
#include "player/Player.h"
#include "rename/BatchRenamer.h"
#include "scan/DirectoryScan.h"
#include "settings/MainOptions.h"
#include "settings/SettingsStore.h"
#include "ui/TooltipHelper.h"

// The program-wide objects, created in main before the main window and destroyed after every
// window is gone, so a window may rely on everything it uses being alive while it closes.
class Application {
 public:
  // The settings store is bound to the settings file of configDir.
  Application(const QString& configDir, std::unique_ptr<SoundOutput> sound);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  SettingsStore& Settings() { return settings_; }
  SoundList& List() { return list_; }
  StatusTexts& Status() { return status_; }
  SoundOutput& Sound() { return *sound_; }
  // The main window's options, which the logic reads; its menu items write through to them.
  MainOptions& Options() { return options_; }
  // The directory of the settings file, the list file and the rename journal.
  const QString& ConfigDir() const { return configDir_; }
  Player& GetPlayer() { return player_; }
  FileOperations& FileOps() { return fileOps_; }
  Finder& GetFinder() { return finder_; }
  DirectoryScan& Scan() { return scan_; }
  TooltipHelper& Tooltips() { return tooltips_; }
  // The batch rename, on the list with the rename matcher and the undo list of the last run.
  BatchRenamer& Renamer() { return renamer_; }
  const UndoList& Undo() const { return undo_; }

 private:
  QString configDir_;
  SettingsStore settings_;
  SoundList list_;
  StatusTexts status_;
  std::unique_ptr<SoundOutput> sound_;
  MainOptions options_;
  Player player_;
  FileOperations fileOps_;
  Finder finder_;
  RegexMatcher scanMatcher_;
  RegexMatcher renameMatcher_;
  DirectoryScan scan_;
  TooltipHelper tooltips_;
  UndoList undo_;
  BatchRenamer renamer_;
};
