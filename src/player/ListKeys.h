// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <Qt>
#include <vector>

#include "core/Commands.h"

// Modifier bits of HandleListKey.
enum KeyModifierBits { kCtrlBit = 1, kShiftBit = 2, kAltBit = 4 };

// The bits of HandleListKey for the modifiers of a key event (keypad and meta are ignored).
int ModifierBits(Qt::KeyboardModifiers modifiers);

// Exactly one group applies to a key: Ctrl and Shift both held (Alt may be held too); only Ctrl
// held; any other combination, no modifier included.
enum class KeyGroup { kCtrlShift, kCtrl, kOther };

// One key of a command: key is a Qt::Key value.
struct KeyChord {
  KeyGroup group;
  int key;
};

struct KeyBinding {
  KeyChord chord;
  Command command;
};

struct ListKeyResult {
  Command command = Command::kNone;
  bool passOn = true;  // false: consumed; true: the list view handles the key itself
};

// The keyboard commands of the main window, as the list view's key handler sees them. A key
// bound in its group is consumed; with Ctrl and Shift held every key is consumed; every other
// key passes on (plain arrows, Home, End, Page keys move the selection).
ListKeyResult HandleListKey(const std::vector<KeyBinding>& bindings, int key, int modifiers);
