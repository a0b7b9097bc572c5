// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct FindOptions;
class Player;
class SoundList;
class StatusTexts;

// Find in the list by the find options and the find point they hold.
class Finder {
 public:
  Finder(SoundList& list, StatusTexts& status, FindOptions& options, Player& player)
      : list_(list), status_(status), options_(options), player_(player) {}
  FindOptions& Options() { return options_; }
  // The direction of the last step.
  bool Upward() const { return upward_; }

  // One step downward or upward from the find point, wrapping once; reports " 完全找不到！"
  // with the names given up (GivenUpNote).
  bool FindStep(bool upward);
  // Selects every matching row; nothing else changes, but names given up are reported in
  // the status bar.
  void FindAll();
  // The find point becomes the current row; with report, says "已设置当前位置为查找点！".
  void SetFindPoint(bool report);

 private:
  SoundList& list_;
  StatusTexts& status_;
  FindOptions& options_;
  Player& player_;
  bool upward_ = false;
};
