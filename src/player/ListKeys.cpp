// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/ListKeys.h"

int ModifierBits(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ControlModifier ? kCtrlBit : 0) |
         (modifiers & Qt::ShiftModifier ? kShiftBit : 0) |
         (modifiers & Qt::AltModifier ? kAltBit : 0);
}

ListKeyResult HandleListKey(const std::vector<KeyBinding>& bindings, int key, int modifiers) {
  const bool ctrl = modifiers & kCtrlBit;
  const bool shift = modifiers & kShiftBit;
  const KeyGroup group = ctrl && shift           ? KeyGroup::kCtrlShift
                         : modifiers == kCtrlBit ? KeyGroup::kCtrl
                                                 : KeyGroup::kOther;
  for (const KeyBinding& b : bindings)
    if (b.chord.group == group && b.chord.key == key) return {b.command, false};
  // The Ctrl+Shift group swallows every key.
  return {Command::kNone, group != KeyGroup::kCtrlShift};
}
