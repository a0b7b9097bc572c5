// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every command of the main window. The window's command table maps each to its toolbar entry,
// menu item and key, and to the code that runs it.
enum class Command {
  kNone,
  // list and selection
  kImport,
  kSelectAll,
  kSelectNone,
  kInvertSelection,
  kExtendToTop,
  kExtendToBottom,
  // playback
  kPlayPrevious,
  kPlayFirst,
  kPlayCurrent,
  kPlayNext,
  kPlayLast,
  kStop,
  kStopQuiet,
  kLocatePlaying,
  // file operations
  kDelete,
  kMove,
  kCopy,
  kRemoveRows,
  kRemoveAll,
  kCopyNames,
  kCopyPaths,
  kRenameInPlace,
  kShowInFileManager,
  // list file
  kSaveListNow,
  // find
  kOpenFind,
  kFindNext,
  kFindPrevious,
  kSetFindPoint,
  // windows
  kOpenSearchDir,
  kOpenBatchRename,
  kAbout,
  kExit,
  // pop-up menus of the toolbar arrows
  kPopupImportMenu,
  kPopupPlayMenu,
  kPopupMoveMenu,
};
