#pragma once
#include <QString>
#include <vector>

class SoundList;
class StatusTexts;

// Sorts the whole list by one column: text columns in GB18030 byte order, the size column by
// the size in bytes. Ascending is stable; descending is non-increasing with rows of equal keys
// in the reverse of their previous order. The selection stays with the files.
class ListRowSorter {
 public:
  enum KeyKind { kByValue = 0, kByText = 2 };
  void SortRows(SoundList& list, KeyKind kind, int column, bool ascending);
  // The order SortRows applies (order[i] = old index of new row i), without applying it.
  static std::vector<int> SortedOrder(const SoundList& list, KeyKind kind, int column,
                                      bool ascending);
};

// The header-click command: flips the one direction flag, shows "正在排序..." + kind word,
// sorts, reports kind word + "排序完成，" + elapsed time, and moves the header mark
// (" ∴" ascending, " ∵" descending) to the sorted column.
class ColumnSorter {
 public:
  void SortByColumn(SoundList& list, StatusTexts& status, int column);
  bool Ascending() const { return ascending_; }

 private:
  ListRowSorter sorter_;
  bool ascending_ = false;
};
