#pragma once
#include <Qt>

#include "core/Commands.h"

// Modifier bits of HandleListKey.
enum KeyModifierBits { kCtrlBit = 1, kShiftBit = 2, kAltBit = 4 };

// The bits of HandleListKey for the modifiers of a key event (keypad and meta are ignored).
int ModifierBits(Qt::KeyboardModifiers modifiers);

struct ListKeyResult {
  Command command = Command::kNone;
  bool passOn = true;  // false: consumed; true: the list view handles the key itself
};

// The keyboard commands of the main window, as the list view's key handler sees them.
// key is a Qt::Key value. Ctrl+Shift with any key is consumed; a key with a command is consumed;
// every other key passes on (plain arrows, Home, End, Page keys move the selection).
ListKeyResult HandleListKey(int key, int modifiers);
