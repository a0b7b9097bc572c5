// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/Import.h"

#include <QStringList>

#include "list/SoundList.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"

void ImportByDialog(SoundList& list, QString& lastImportFile) {
  const LongJobGuard guard;
  if (!guard.Acquired()) return;
  const QStringList paths = CurrentDialogs().ChooseOpenFiles(
      QStringLiteral("选择多个短音文件："),
      // The designed entries, then one for every kind the player decodes.
      QStringLiteral("Wav波形和Mid序列|*.wav;*.mid|Wav波形、Mid序列和mp3音频|*.wav;*.mid;*.mp3|"
                     "Wav波形|*.wav|Mid序列|*.mid|Mp3音频|*.mp3|所有文件|*.*|"
                     "所有声音文件|*.wav;*.mid;*.mp3;*.flac;*.ogg;*.oga;*.opus;*.aif;*.aiff;*.aifc;"
                     "*.au;*.snd;*.rmi;*.midi;*.w64;*.rf64"),
      lastImportFile);
  if (paths.isEmpty()) return;
  list.AddPaths(paths, false);
  lastImportFile = paths.first();
}
