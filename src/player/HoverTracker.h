// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class Player;
class SoundList;
struct PlayOptions;

// The mouse state of the list: hover-play, the drag that exchanges two rows, and the same drag
// taking the rows out of the window as files once it passes the list's edge.
class HoverTracker {
 public:
  enum class Cursor { kDefault, kNoTarget, kExchange };

  HoverTracker(SoundList& list, const PlayOptions& options, Player& player)
      : list_(list), options_(options), player_(player) {}
  // Shows a cursor over the list (set by the window).
  void SetCursorHandler(std::function<void(Cursor)> handler) { setCursor_ = std::move(handler); }
  // Runs the file drag of the given full paths and returns once it has ended (set by the window).
  void SetDragOutHandler(std::function<void(const QStringList& paths)> handler) {
    dragOut_ = std::move(handler);
  }

  // The row under the pointer after a mouse move, -1 over no row. Hover-play, or during a drag
  // the highlight of the two rows to exchange.
  void OnRowUnderMouse(int row);
  void OnLeftButtonDown();
  void OnLeftButtonUp();  // exchanges the start and end rows of a drag
  void OnClick();         // a press and release without a drag (the view may swallow the release)
  // The pointer is past the list's edge with the left button down. A drag that began on a row
  // takes the rows selected when it began out as files (a copy: the list keeps them), then ends
  // with nothing to exchange. Not while a long job runs: the drag's event loop would hold it.
  void OnDragLeftList();

  int DragStartRow() const { return dragStartRow_; }
  bool LeftButtonDown() const { return leftButtonDown_; }

 private:
  // Hands a changed cursor to the handler; false when it is already shown.
  bool ShowCursor(Cursor cursor);
  // The selection as the press left it, taken before the exchange highlight replaces it.
  void TakeDragRows();
  SoundList& list_;
  const PlayOptions& options_;
  Player& player_;
  std::function<void(Cursor)> setCursor_;
  std::function<void(const QStringList&)> dragOut_;
  Cursor cursor_ = Cursor::kDefault;
  int hoverRow_ = 0;
  int dragStartRow_ = 0;
  int dragEndRow_ = 0;
  bool leftButtonDown_ = false;
  std::vector<int> dragRows_;
  bool dragRowsTaken_ = false;
};
