// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/RowSet.h"

#include <algorithm>
#include <cstring>

int RowSet::First() const {
  if (count_ == 0) return -1;
  const void* hit = std::memchr(on_.data() + low_, 1, static_cast<size_t>(high_ - low_ + 1));
  return static_cast<int>(static_cast<const uint8_t*>(hit) - on_.data());
}

std::vector<int> RowSet::Rows() const {
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(count_));
  const uint8_t* data = on_.data();
  const uint8_t* end = data + high_ + 1;
  for (const uint8_t* p = data + low_; rows.size() < static_cast<size_t>(count_); ++p) {
    p = static_cast<const uint8_t*>(std::memchr(p, 1, static_cast<size_t>(end - p)));
    rows.push_back(static_cast<int>(p - data));
  }
  return rows;
}

bool RowSet::Clamp(int& first, int& last) const {
  first = std::max(first, 0);
  last = std::min(last, Size() - 1);
  return first <= last;
}

void RowSet::Widen(int first, int last) {
  if (count_ == 0) {
    low_ = first;
    high_ = last;
  } else {
    low_ = std::min(low_, first);
    high_ = std::max(high_, last);
  }
}

bool RowSet::Assign(int first, int last, bool on) {
  if (!Clamp(first, last)) return false;
  if (on) Widen(first, last);
  const uint8_t value = on ? 1 : 0;
  const auto begin = on_.begin() + first;
  const auto end = on_.begin() + last + 1;
  const int already = static_cast<int>(std::count(begin, end, value));
  const int span = last - first + 1;
  if (already == span) return false;
  std::fill(begin, end, value);
  count_ += on ? span - already : already - span;
  return true;
}

bool RowSet::Flip(int first, int last) {
  if (!Clamp(first, last)) return false;
  Widen(first, last);
  int added = 0;
  for (auto p = on_.begin() + first, end = on_.begin() + last + 1; p != end; ++p) {
    *p ^= 1;
    added += *p;
  }
  count_ += 2 * added - (last - first + 1);
  return true;
}

bool RowSet::Clear() {
  if (count_ == 0) return false;
  std::fill(on_.begin() + low_, on_.begin() + high_ + 1, uint8_t{0});
  count_ = 0;
  return true;
}

void RowSet::InsertRows(int at, int count) {
  at = std::clamp(at, 0, Size());
  count = std::max(count, 0);
  on_.insert(on_.begin() + at, static_cast<size_t>(count), uint8_t{0});
  if (at <= low_) low_ += count;
  if (at <= high_) high_ += count;
}

void RowSet::RemoveRows(int first, int last) {
  if (!Clamp(first, last)) return;
  const auto begin = on_.begin() + first;
  const auto end = on_.begin() + last + 1;
  count_ -= static_cast<int>(std::count(begin, end, uint8_t{1}));
  on_.erase(begin, end);
  // The rows after the removed ones move up by as many.
  const int removed = last - first + 1;
  low_ = low_ > last ? low_ - removed : std::min(low_, first);
  high_ = high_ > last ? high_ - removed : std::min(high_, first - 1);
}

void RowSet::Reset(int rows) {
  std::vector<uint8_t>(static_cast<size_t>(std::max(rows, 0)), uint8_t{0}).swap(on_);
  count_ = 0;
  low_ = 0;
  high_ = -1;
}
