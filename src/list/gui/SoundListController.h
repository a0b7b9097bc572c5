// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <vector>

#include "core/Commands.h"
#include "list/ListRowSorter.h"
#include "player/HoverTracker.h"
#include "player/ListKeys.h"

class Player;
class SoundList;
class SoundListView;
class SoundOutput;
class StatusTexts;
struct PlayOptions;

// The sound list's widgets at work: the view shows the list and its row set; the mouse goes to
// the hover tracker (hover-play, the row exchange, the drag out) with its cursors shown on the
// view; a header click sorts by its column; the name cell's tooltip describes the file. What
// the rest of the window acts on leaves as signals. A child of its view.
class SoundListController : public QObject {
  Q_OBJECT
 public:
  // options say whether a hover plays; keys are the commands' keys, offered the list's key
  // presses first.
  SoundListController(SoundListView& view, SoundList& list, StatusTexts& status, SoundOutput& sound,
                      Player& player, const PlayOptions& options, std::vector<KeyBinding> keys);

 Q_SIGNALS:
  // A double click on a row.
  void rowActivated(int row);
  // A key bound to a command; the view does not see the key.
  void commandKeyPressed(Command command);

 private:
  void ConnectMouse();
  void SortByColumn(int column);

  SoundListView& view_;
  SoundList& list_;
  StatusTexts& status_;
  HoverTracker hover_;
  ColumnSorter sorter_;
  std::vector<KeyBinding> keys_;
};
