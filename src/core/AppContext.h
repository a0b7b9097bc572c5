// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

#include "settings/MainOptions.h"

class SoundList;
class StatusTexts;
class SoundOutput;

// What the logic of every area reaches: the list, the status texts, the sound output, the main
// window's options and the program-wide state. Owned by the application object; areas keep a
// reference.
struct AppContext {
  SoundList& list;
  StatusTexts& status;
  SoundOutput& sound;
  const MainOptions& options;
  QString configDir;
  QString lastImportFile;       // [导入] 上次文件名
  QString lastTargetDirectory;  // [移动选项] 上次目录
};

// Writes "n/m" into the count part: n the current row + 1 (0 for none), m the row count.
void UpdateCountPart(AppContext& context);
