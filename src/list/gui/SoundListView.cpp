// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/gui/SoundListView.h"

#include <QAccessible>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUrl>

#include "list/SoundList.h"
#include "list/gui/SoundListAccessible.h"
#include "platform/NativePath.h"
#include "player/ListKeys.h"

std::unique_ptr<QMimeData> FileDragData(const QStringList& paths) {
  QList<QUrl> urls;
  urls.reserve(paths.size());
  for (const QString& path : paths) urls << QUrl::fromEncoded(FileUrlBytes(path));
  auto data = std::make_unique<QMimeData>();
  data->setUrls(urls);
  return data;
}

namespace {

// Marks the cells of the selected rows, which the view itself cannot see in the selection model.
class SelectedRowDelegate : public QStyledItemDelegate {
 public:
  explicit SelectedRowDelegate(SoundListView* view) : QStyledItemDelegate(view), view_(view) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (view_->IsRowSelected(index.row())) option->state |= QStyle::State_Selected;
  }

 private:
  const SoundListView* view_;
};

}  // namespace

SoundListView::SoundListView(QWidget* parent)
    : QTableView(parent), header_(new SortMarkHeader(this)) {
  setHorizontalHeader(header_);
  setObjectName(QStringLiteral("列表框"));
  setMouseTracking(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setAlternatingRowColors(true);
  setDragEnabled(false);
  setSortingEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setStretchLastSection(true);
  setItemDelegate(new SelectedRowDelegate(this));
  // Screen readers ask the row set which rows are selected, as the painting does.
  QAccessible::installFactory(&SoundListAccessible::Create);
  dragRunner_ = [this](std::unique_ptr<QMimeData> data) {
    auto* drag = new QDrag(this);  // Qt deletes it once the drag has ended
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
  };
}

void SoundListView::SetKeyHandler(std::function<bool(int, int)> handler) {
  keyHandler_ = std::move(handler);
}

void SoundListView::ShowList(SoundList& list) {
  setModel(&list);
  setSelectionModel(list.Selection().SelectionModel());
  selection_ = &list.Selection();
  viewport()->update();
}

int SoundListView::RowAtPoint(const QPoint& viewportPos) const {
  return viewport()->rect().contains(viewportPos) ? rowAt(viewportPos.y()) : -1;
}

void SoundListView::DragFilesOut(const QStringList& paths) { dragRunner_(FileDragData(paths)); }

void SoundListView::SetDragRunner(std::function<void(std::unique_ptr<QMimeData>)> runner) {
  dragRunner_ = std::move(runner);
}

void SoundListView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool leftDown = event->buttons() & Qt::LeftButton;
  // Hover-play would move the selection away from a name being typed.
  if (!IsEditing()) {
    if (leftDown && !viewport()->rect().contains(pos)) {
      Q_EMIT dragLeftList();
      return;
    }
    Q_EMIT rowUnderMouse(RowAtPoint(pos));
  }
  // With the left button down the move belongs to the row exchange, not to drag-selecting.
  if (!leftDown) QTableView::mouseMoveEvent(event);
}

void SoundListView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT leftButtonPressed();
  pressedRow_ = rowAt(event->position().toPoint().y());
  const QScopedValueRollback<bool> act(userAct_, true);
  QTableView::mousePressEvent(event);
}

void SoundListView::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT leftButtonReleased();
}

void SoundListView::keyPressEvent(QKeyEvent* event) {
  if (keyHandler_ && !IsEditing()) {
    if (!keyHandler_(event->key(), ModifierBits(event->modifiers()))) {
      event->accept();
      return;
    }
  }
  const QScopedValueRollback<bool> act(userAct_, true);
  const bool home = event->key() == Qt::Key_Home || event->key() == Qt::Key_End;
  if (home && event->modifiers() == Qt::ControlModifier) {
    // Ctrl+Home and Ctrl+End select as Home and End do (Ctrl alone would only move the focus).
    QKeyEvent plain(event->type(), event->key(), Qt::NoModifier);
    QTableView::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QTableView::keyPressEvent(event);
}

void SoundListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (IsEditing() && !userAct_) {
    viewport()->update();  // only the highlight moves
    return;
  }
  QTableView::currentChanged(current, previous);
}

QModelIndex SoundListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if ((action == MoveHome || action == MoveEnd) && model()) {
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    return model()->index(action == MoveHome ? 0 : model()->rowCount() - 1, column);
  }
  return QTableView::moveCursor(action, modifiers);
}

QItemSelectionModel::SelectionFlags SoundListView::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
  const bool press = event && event->type() == QEvent::MouseButtonPress;
  const bool release = event && event->type() == QEvent::MouseButtonRelease;
  if (!(press || release) || !index.isValid() || !selection_) {
    return QTableView::selectionCommand(index, event);
  }
  // Extended selection as the view makes it, with "is the row selected" asked of the row set.
  const auto* mouse = static_cast<const QMouseEvent*>(event);
  const bool shift = mouse->modifiers() & Qt::ShiftModifier;
  const bool ctrl = mouse->modifiers() & Qt::ControlModifier;
  const bool right = mouse->button() == Qt::RightButton;
  const bool selected = selection_->IsRowSelected(index.row());
  const auto rows = QItemSelectionModel::Rows;
  if (release) {
    // A plain click on a selected row selects it alone once the button is up.
    const bool alone = index.row() == pressedRow_ && selected && !shift && !ctrl && !right;
    return alone ? QItemSelectionModel::ClearAndSelect | rows : QItemSelectionModel::NoUpdate;
  }
  if ((shift || ctrl) && right) return QItemSelectionModel::NoUpdate;
  if (!shift && !ctrl && selected) return QItemSelectionModel::NoUpdate;
  if (ctrl && !shift) {
    return (selected ? QItemSelectionModel::Deselect : QItemSelectionModel::Select) | rows;
  }
  return QTableView::selectionCommand(index, event);
}

void SoundListView::selectionChanged(const QItemSelection&, const QItemSelection&) {
  // The selection model does not list the rows that changed: what is shown is painted anew, and
  // a screen reader is told to read the selection again.
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&event);
  }
}

void SoundListView::SetNameToolTip(std::function<QString(int row)> text) {
  nameToolTip_ = std::move(text);
}

// Qt sends the tooltip event after the platform's delay, so the file is read only then.
bool SoundListView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip || !nameToolTip_) return QTableView::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QModelIndex index = indexAt(help->pos());
  const QString text =
      index.isValid() && index.column() == 0 ? nameToolTip_(index.row()) : QString();
  if (text.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
  return true;
}
