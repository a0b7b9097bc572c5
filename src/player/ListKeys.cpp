#include "player/ListKeys.h"

#include <Qt>

namespace {

ListKeyResult Consume(Command command) { return {command, false}; }
constexpr ListKeyResult kPassOn{};

ListKeyResult CtrlShiftKey(int key) {
  switch (key) {
    case Qt::Key_Up: return Consume(Command::kExtendToTop);
    case Qt::Key_Down: return Consume(Command::kExtendToBottom);
    default: return Consume(Command::kNone);  // this group swallows every other key
  }
}

ListKeyResult CtrlKey(int key) {
  switch (key) {
    case Qt::Key_O: return Consume(Command::kImport);
    case Qt::Key_J: return Consume(Command::kOpenSearchDir);
    case Qt::Key_Up: return Consume(Command::kPlayFirst);
    case Qt::Key_Down: return Consume(Command::kPlayLast);
    case Qt::Key_T: return Consume(Command::kStopQuiet);
    case Qt::Key_1: return Consume(Command::kSelectAll);
    case Qt::Key_2: return Consume(Command::kSelectNone);
    case Qt::Key_3: return Consume(Command::kInvertSelection);
    case Qt::Key_X: return Consume(Command::kMove);
    case Qt::Key_C: return Consume(Command::kCopy);
    case Qt::Key_Y: return Consume(Command::kRemoveRows);
    case Qt::Key_M: return Consume(Command::kCopyNames);
    case Qt::Key_L: return Consume(Command::kCopyPaths);
    case Qt::Key_F: return Consume(Command::kOpenFind);
    case Qt::Key_F2: return Consume(Command::kOpenBatchRename);
    default: return kPassOn;
  }
}

ListKeyResult OtherKey(int key) {
  switch (key) {
    case Qt::Key_Space: return Consume(Command::kPlayCurrent);
    case Qt::Key_Delete: return Consume(Command::kDelete);
    case Qt::Key_F2: return Consume(Command::kRenameInPlace);
    case Qt::Key_F3: return Consume(Command::kFindNext);
    case Qt::Key_F4: return Consume(Command::kFindPrevious);
    case Qt::Key_Return:
    case Qt::Key_Enter: return Consume(Command::kShowInFileManager);
    case Qt::Key_F1: return Consume(Command::kAbout);
    default: return kPassOn;
  }
}

}  // namespace

int ModifierBits(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ControlModifier ? kCtrlBit : 0) |
         (modifiers & Qt::ShiftModifier ? kShiftBit : 0) |
         (modifiers & Qt::AltModifier ? kAltBit : 0);
}

ListKeyResult HandleListKey(int key, int modifiers) {
  const bool ctrl = modifiers & kCtrlBit;
  const bool shift = modifiers & kShiftBit;
  if (ctrl && shift) return CtrlShiftKey(key);
  if (modifiers == kCtrlBit) return CtrlKey(key);
  return OtherKey(key);
}
