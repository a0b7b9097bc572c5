// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>
#include <vector>

class SoundList;

// Sorts the whole list by one column: text columns in GB18030 byte order (a name that is not
// UTF-8 by its own bytes, NameSortBytes), the size column by the size in bytes. Ascending is
// stable; descending is non-increasing with rows of equal keys in the reverse of their previous
// order. The selection stays with the files.
class ListRowSorter {
 public:
  enum KeyKind { kByValue = 0, kByText = 2 };
  void SortRows(SoundList& list, KeyKind kind, int column, bool ascending);
  // The order SortRows applies (order[i] = old index of new row i), without applying it.
  static std::vector<int> SortedOrder(const SoundList& list, KeyKind kind, int column,
                                      bool ascending);
};

// The header-click command: flips the one direction flag, says "正在排序..." + kind word,
// sorts, says kind word + "排序完成，" + elapsed time, and moves the header mark (" ∴"
// ascending, " ∵" descending) to the sorted column. The view's header shows the marks.
class ColumnSorter {
 public:
  void SortByColumn(SoundList& list, int column, const std::function<void(const QString&)>& say);
  bool Ascending() const { return ascending_; }
  // The mark that the header shows after the caption of column: "" for an unsorted column.
  QString Mark(int column) const;

 private:
  ListRowSorter sorter_;
  bool ascending_ = false;
  int markedColumn_ = -1;
};
