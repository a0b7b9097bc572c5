#include "app/ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "player/ListKeys.h"

SoundListView::SoundListView(QWidget* parent) : QTableView(parent) {
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
  Q_EMIT rowUnderMouse(RowAtPoint(event->position().toPoint()));
  // With the left button down the move belongs to the row exchange, not to drag-selecting.
  if (!(event->buttons() & Qt::LeftButton)) QTableView::mouseMoveEvent(event);
}

void SoundListView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT leftButtonPressed();
  QTableView::mousePressEvent(event);
}

void SoundListView::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT leftButtonReleased();
}

void SoundListView::keyPressEvent(QKeyEvent* event) {
  if (keyHandler_ && state() != QAbstractItemView::EditingState) {
    if (!keyHandler_(event->key(), ModifierBits(event->modifiers()))) {
      event->accept();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}
