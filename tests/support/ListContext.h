// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "RecordingSound.h"
#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "player/Player.h"
#include "settings/MainOptions.h"

// A test turns on the check marks it needs.
inline void SetChecksOff(MainOptions& o) {
  for (Option<bool>* check : {&o.play.once, &o.play.onSelect, &o.play.onDoubleClick,
                              &o.play.onHover, &o.move.removeAfterMove, &o.move.smartRename})
    check->Set(false);
}

// The program-wide state of the main window without the window: a list, its status texts, a
// recording sound output, the options with every check mark off and a player.
struct ListContext {
  ListContext() { SetChecksOff(options); }
  SoundList list;
  StatusTexts status;
  RecordingSound sound;
  MainOptions options;
  Player player{list, status, sound, options.play};
};
