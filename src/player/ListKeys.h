#pragma once
#include "core/Commands.h"

// Modifier bits of HandleListKey.
enum KeyModifierBits { kCtrlBit = 1, kShiftBit = 2, kAltBit = 4 };

struct ListKeyResult {
  Command command = Command::kNone;
  bool passOn = true;  // false: consumed; true: the list view handles the key itself
};

// The keyboard commands of the main window, as the list view's key handler sees them.
// key is a Qt::Key value.
ListKeyResult HandleListKey(int key, int modifiers);
