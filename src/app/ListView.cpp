#include "app/ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>

#include "player/ListKeys.h"

SortMarkHeader::SortMarkHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void SortMarkHeader::SetMarks(std::function<QString(int)> marks) {
  marks_ = std::move(marks);
  viewport()->update();
}

QString SortMarkHeader::SectionText(int column) const {
  const QString caption = model() ? model()->headerData(column, orientation()).toString() : QString();
  return marks_ ? caption + marks_(column) : caption;
}

void SortMarkHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
  QHeaderView::initStyleOptionForIndex(option, logicalIndex);
  option->text = SectionText(logicalIndex);
}

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
}

void SoundListView::SetKeyHandler(std::function<bool(int, int)> handler) {
  keyHandler_ = std::move(handler);
}

int SoundListView::RowAtPoint(const QPoint& viewportPos) const {
  return rowAt(viewportPos.y());
}

void SoundListView::mouseMoveEvent(QMouseEvent* event) {
  // Hover-play would move the selection away from a name being typed.
  if (!IsEditing()) Q_EMIT rowUnderMouse(RowAtPoint(event->position().toPoint()));
  // With the left button down the move belongs to the row exchange, not to drag-selecting.
  if (!(event->buttons() & Qt::LeftButton)) QTableView::mouseMoveEvent(event);
}

void SoundListView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT leftButtonPressed();
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
