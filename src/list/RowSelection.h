// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QItemSelectionModel>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "list/RowSet.h"

class SoundList;

// The selection of the sound list's rows. The rows are held in a RowSet, not in the item
// selection model's ranges: a scattered selection of a third of a million rows would be as many
// ranges, each with two persistent indices that every row operation walks. The item selection
// model the view shares (SelectionModel()) writes into the set and keeps the view's current
// index; its own range queries (isSelected, selection()) see nothing, so the view asks
// IsRowSelected. The current row is the first selected row, -1 for none.
class RowSelection : public QObject {
  Q_OBJECT
 public:
  explicit RowSelection(SoundList& list);
  ~RowSelection() override;

  // For the view (setSelectionModel); it also holds the view's current index.
  QItemSelectionModel* SelectionModel();
  const QItemSelectionModel* SelectionModel() const;

  int CurrentRow() const { return rows_.First(); }
  std::vector<int> SelectedRows() const { return rows_.Rows(); }  // ascending
  int SelectedCount() const { return rows_.Count(); }
  bool IsRowSelected(int row) const { return rows_.Contains(row); }
  void SelectRow(int row);
  void DeselectRow(int row);
  // Asks the view (scrollToRowRequested) to make the row visible.
  void ScrollIntoView(int row);
  // Selects the row alone, makes it the view's current index and scrolls to it; -1 or a row
  // past the end deselects every row.
  void SelectOnly(int row);
  void ChangeSelection(int mode);  // 1 all, -1 none, 0 invert
  void SelectRange(int from, int to);
  // Adds the given rows (any order; rows not in the list ignored) to the selection in one
  // selection change: the way to select thousands of rows.
  void SelectRows(const std::vector<int>& rows);

  // "n/m" with n = row + 1 (0 for -1) and m the row count.
  QString CountText(int row) const;

  // While one exists, selection changes raise no currentRowChanged: find selects its matches
  // without the play-on-selection trigger playing them, and the list's row operations move the
  // selection without choosing another file.
  class Quiet {
   public:
    explicit Quiet(RowSelection& selection) : selection_(selection) { ++selection_.quiet_; }
    ~Quiet() {
      --selection_.quiet_;
      selection_.lastCurrent_ = selection_.CurrentRow();
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

   private:
    RowSelection& selection_;
  };

 Q_SIGNALS:
  void scrollToRowRequested(int row);
  // The first selected row changed through a change of the selection (by the user or by the
  // program). Row insertions, removals, SwapRows and ApplyOrder never raise it: they move the
  // rows under the selection, they do not choose another file, so nothing plays.
  void currentRowChanged(int row);

 private:
  class Model;
  void CheckCurrentRow();
  SoundList& list_;
  RowSet rows_;
  std::unique_ptr<Model> model_;
  int lastCurrent_ = -1;
  int quiet_ = 0;
};
