// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "RecordingSound.h"
#include "core/AppContext.h"
#include "core/CheckStates.h"
#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "player/Player.h"

// The program-wide state of the main window without the window: a list, its status texts, a
// recording sound output, a table of check marks and a player.
struct ListContext {
  SoundList list;
  StatusTexts status;
  RecordingSound sound;
  CheckTable checks;
  AppContext context{list, status, sound, checks, {}, {}, {}};
  Player player{context};
};
