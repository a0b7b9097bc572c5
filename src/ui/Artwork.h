// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The program's pictures: SVG drawings compiled into pb_ui as resources.

// Registers the compiled-in resources (a static library drops them otherwise). Every function
// below calls it, so calling it first is optional; repeated calls do nothing.
void InitArtwork();

inline constexpr int kToolbarImageCount = 18;

// The images of the toolbar's image list, in its order.
enum class ToolbarPicture {
  kNone = -1,
  kImport,
  kPrevious,
  kPlay,
  kNext,
  kStop,
  kSelectAll,
  kSelectNone,
  kInvert,
  kDelete,
  kMove,
  kCopy,
  kRename,
  kLocate,
  kRemove,
  kCopyNames,
  kCopyPaths,
  kAbout,
  kExit
};

// Image `index` (0..17) of the toolbar's image list, sharp at 32x32; null for any other index.
QIcon ToolbarImage(int index);

// The sound-file row icon drawn for `size` 16, 32 or 48; null for any other size.
QIcon RowIcon(int size);

// The row icon at all three sizes, for the windows' title bars.
QIcon ApplicationIcon();

// Cursor shown while a row is dragged: over another row (`exchange`) or over no row.
// Its hot spot is the arrow's tip at (0, 0).
QCursor DragCursor(bool exchange);

// Composition for the About window: the row icon large beside a few toolbar discs.
QPixmap AboutPicture();
