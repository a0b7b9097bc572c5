// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

#include <optional>

enum class PlayResult;
class SoundList;
class SoundOutput;
class StatusTexts;
struct PlayOptions;

// Plays rows and reacts to the play triggers of the list.
class Player {
 public:
  Player(SoundList& list, StatusTexts& status, SoundOutput& sound, const PlayOptions& options)
      : list_(list), status_(status), sound_(sound), options_(options) {}

  // Stops the previous sound, selects row (unless leaveSelection), writes the count and
  // "播放 " + name, and starts the file by the decoder its content names; when nothing plays, the
  // reason follows the name. A row outside the list clears the selection and plays nothing. The
  // stop pumps events, which may change the rows: no row means the current row after that; a given
  // row is followed to where it went, and one removed meanwhile plays nothing at all.
  void PlayRow(std::optional<int> row = std::nullopt, bool leaveSelection = false);
  // Stops both kinds; with withMessage the message part says "已停止播放".
  void StopPlayback(bool withMessage = false);
  // Selects the row last given to PlayRow (focus is the window's job).
  void LocatePlayingRow();
  int PlayingRow() const { return playingRow_; }
  // "（无法播放：文件不存在）" and the like; empty for a sound that started.
  static QString ReasonText(PlayResult result);

  // Triggers
  void OnCurrentRowChanged();
  void OnDoubleClick();

 private:
  SoundList& list_;
  StatusTexts& status_;
  SoundOutput& sound_;
  const PlayOptions& options_;
  int playingRow_ = 0;
  bool selectingForPlay_ = false;  // PlayRow's own selection must not start a second play
  unsigned playRequests_ = 0;      // lets a PlayRow see that a newer one ran in its event round
};
