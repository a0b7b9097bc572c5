// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAccessibleWidget>
#include <QHash>

class SoundListView;

// The sound list as a screen reader reads it: a table whose selected rows and cells are the
// rows of the list's row set (the item selection model holds none), and whose row selection
// goes to the row set. The children are laid out as the table view numbers them in its focus
// events: the corner, the column headers, then per row its (hidden) row header and its cells.
// Cells are made when asked for and follow their position, not their file.
class SoundListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit SoundListAccessible(SoundListView* view);
  ~SoundListAccessible() override;
  // The factory for QAccessible::installFactory: this interface for every SoundListView.
  static QAccessibleInterface* Create(const QString& className, QObject* object);

  // The child number of a cell (row or column -1: a header, both -1: the corner).
  int ChildIndex(int row, int column) const;

  // QAccessibleInterface
  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessibleInterface* focusChild() const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  // QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int selectedColumnCount() const override;
  int selectedRowCount() const override;
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override;
  QList<int> selectedRows() const override;
  bool isColumnSelected(int column) const override;
  bool isRowSelected(int row) const override;
  bool selectRow(int row) override;
  // Columns are not selected on their own in a list that selects whole rows.
  bool selectColumn(int) override { return false; }
  bool unselectRow(int row) override;
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

 private:
  SoundListView* View() const;
  void DropChildren();
  mutable QHash<int, QAccessible::Id> children_;
};
