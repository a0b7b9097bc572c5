#include "app/ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
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
