// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStringList>
#include <QTableView>
#include <functional>
#include <memory>

#include "list/RowSelection.h"
#include "list/gui/SortMarkHeader.h"

class QMimeData;
class SoundList;

// The files of full paths as a drag carries them: text/uri-list of file:// URLs built from the
// paths' bytes, so a name that is not UTF-8 names its file exactly.
std::unique_ptr<QMimeData> FileDragData(const QStringList& paths);

// The report view of the sound list (`列表框`): reports the row under the mouse, the left button
// and the keys to its controller (SoundListController), and leaves press-and-drag to the row
// exchange instead of drag-selecting; a left-button drag past the viewport's edge is reported as
// leaving the list.
// The selected rows come from the list's own row set (ShowList): the selection model writes into
// it, but its own queries do not see it, so the view and its accessible table ask the row set.
class SoundListView : public QTableView {
  Q_OBJECT
 public:
  explicit SoundListView(QWidget* parent = nullptr);
  SortMarkHeader* Header() const { return header_; }
  // Keys are offered to this handler first; it returns whether the view handles them itself.
  void SetKeyHandler(std::function<bool(int key, int modifiers)> handler);
  // Shows the list's rows, with the selection held in its row set.
  void ShowList(SoundList& list);
  // The row set of the list shown; nullptr before ShowList.
  RowSelection* Selection() const { return selection_; }
  // Whether a row is selected, for painting and for the mouse's choices that depend on it.
  bool IsRowSelected(int row) const { return selection_ && selection_->IsRowSelected(row); }
  bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
  // The row under a point of the viewport, -1 over no row (and outside the viewport).
  int RowAtPoint(const QPoint& viewportPos) const;
  // Drags the files out of the window as a copy and returns once the drop (or Esc) has ended
  // the drag. A target that reports a move changes nothing in the list.
  void DragFilesOut(const QStringList& paths);
  // Replaces the drag itself (by default QDrag::exec, which runs an event loop of its own).
  void SetDragRunner(std::function<void(std::unique_ptr<QMimeData>)> runner);
  // The tooltip of a row's file-name cell, asked for only when the tooltip is due.
  void SetNameToolTip(std::function<QString(int row)> text);

 Q_SIGNALS:
  void rowUnderMouse(int row);
  void leftButtonPressed();
  void leftButtonReleased();
  void dragLeftList();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // A current row set by the program (hover, find, a toolbar step, a sort) leaves an open edit
  // open: only the user's own click or key in the list ends it.
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // Home and End go to the first and last row, not the first and last column.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  bool viewportEvent(QEvent* event) override;

 private:
  std::function<bool(int, int)> keyHandler_;
  RowSelection* selection_ = nullptr;
  int pressedRow_ = -1;
  std::function<void(std::unique_ptr<QMimeData>)> dragRunner_;
  std::function<QString(int)> nameToolTip_;
  bool userAct_ = false;  // a click or key of the user's is being handled
  SortMarkHeader* header_;
};
