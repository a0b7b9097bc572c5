// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/gui/SortMarkHeader.h"

#include <QStyleOptionHeader>

SortMarkHeader::SortMarkHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void SortMarkHeader::SetMarks(std::function<QString(int)> marks) {
  marks_ = std::move(marks);
  viewport()->update();
}

QString SortMarkHeader::SectionText(int column) const {
  const QString caption =
      model() ? model()->headerData(column, orientation()).toString() : QString();
  return marks_ ? caption + marks_(column) : caption;
}

void SortMarkHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
  QHeaderView::initStyleOptionForIndex(option, logicalIndex);
  option->text = SectionText(logicalIndex);
}
