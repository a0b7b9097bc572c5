// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/HoverTracker.h"

#include "list/SoundList.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "player/Player.h"
#include "settings/MainOptions.h"

void HoverTracker::OnRowUnderMouse(int row) {
  // Called on every mouse move: an unchanged row must cost nothing.
  if (row == hoverRow_) return;
  hoverRow_ = row;

  if (leftButtonDown_) {
    TakeDragRows();
    dragEndRow_ = row;
    if (dragEndRow_ == dragStartRow_) return;
    if (ShowCursor(dragEndRow_ == -1 ? Cursor::kNoTarget : Cursor::kExchange)) PumpEventsNow();
    // Highlight exactly the rows that a release would exchange.
    list_.Selection().SelectOnly(dragStartRow_);
    if (dragEndRow_ != -1) list_.Selection().SelectRow(dragEndRow_);
    return;
  }

  dragStartRow_ = dragEndRow_ = row;
  if (options_.onHover.Value()) player_.PlayRow(row);
}

void HoverTracker::OnLeftButtonDown() {
  leftButtonDown_ = true;
  dragRowsTaken_ = false;
}

void HoverTracker::OnLeftButtonUp() {
  const auto inList = [this](int row) { return row >= 0 && row < list_.RowCount(); };
  // A drag that began over empty space (start -1) has no row to exchange.
  if (dragStartRow_ != dragEndRow_ && inList(dragStartRow_) && inList(dragEndRow_)) {
    // The exchange changes rows: not while another job works on them.
    const LongJobGuard guard;
    if (guard.Acquired()) list_.SwapRows(dragStartRow_, dragEndRow_);
  }
  leftButtonDown_ = false;
  ShowCursor(Cursor::kDefault);
}

void HoverTracker::OnClick() { leftButtonDown_ = false; }

void HoverTracker::OnDragLeftList() {
  if (!leftButtonDown_ || dragStartRow_ < 0 || dragStartRow_ >= list_.RowCount()) return;
  if (LongJobGuard::Busy()) return;
  TakeDragRows();
  QStringList paths;
  for (int row : dragRows_)
    if (row < list_.RowCount()) paths << list_.RowFullPath(row);
  if (paths.isEmpty()) return;
  // The drag ends with the button's release, which the drop takes: the exchange ends here.
  leftButtonDown_ = false;
  dragEndRow_ = dragStartRow_;
  ShowCursor(Cursor::kDefault);
  if (dragOut_) dragOut_(paths);
}

void HoverTracker::TakeDragRows() {
  if (dragRowsTaken_) return;
  dragRowsTaken_ = true;
  dragRows_ = list_.Selection().SelectedRows();
}

bool HoverTracker::ShowCursor(Cursor cursor) {
  if (cursor == cursor_) return false;
  cursor_ = cursor;
  if (setCursor_) setCursor_(cursor);
  return true;
}
