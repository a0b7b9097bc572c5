// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A set of the list's rows, one byte per row: a million rows cost a megabyte, and the questions
// a window asks on every paint and every change (is this row in it, how many, which first) are
// answered without walking ranges. Rows outside [0, Size()) are never in the set.
class RowSet {
 public:
  int Size() const { return static_cast<int>(on_.size()); }
  bool Contains(int row) const {
    return row >= 0 && row < Size() && on_[static_cast<size_t>(row)] != 0;
  }
  int Count() const { return count_; }
  int First() const;              // -1 when empty
  std::vector<int> Rows() const;  // ascending

  // Each changes the rows [first, last] clamped to the set's rows and returns whether any row
  // changed.
  bool Assign(int first, int last, bool on);
  bool Flip(int first, int last);
  bool Clear();

  // The set follows the rows of its list: inserted rows come in outside the set.
  void InsertRows(int at, int count);
  void RemoveRows(int first, int last);
  void Reset(int rows);  // every row outside the set

 private:
  bool Clamp(int& first, int& last) const;
  void Widen(int first, int last);
  std::vector<uint8_t> on_;
  int count_ = 0;
  // Every row in the set lies in [low_, high_], so selecting one row of a million and clearing
  // it again touch only the rows between.
  int low_ = 0;
  int high_ = -1;
};
