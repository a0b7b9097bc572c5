// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHeaderView>
#include <functional>

// The column header of the list: the model's captions followed by the sort mark of each column.
class SortMarkHeader : public QHeaderView {
  Q_OBJECT
 public:
  explicit SortMarkHeader(QWidget* parent);
  // Where the marks come from (the column sorter); repaints the header.
  void SetMarks(std::function<QString(int column)> marks);
  // The caption as shown: model caption + mark.
  QString SectionText(int column) const;

 protected:
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

 private:
  std::function<QString(int)> marks_;
};
