// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/RowSelection.h"

#include <algorithm>

#include "list/SoundList.h"

namespace {

struct RowSpan {
  int first;
  int last;
};

}  // namespace

// Applies the view's selection commands to the row set, with the item selection model's meaning
// of each flag. A command with Current replaces the previous one with Current (the span a
// Shift+click or Shift+arrow is extending), so the set as it was before that span is kept until
// a command without Current makes the span final.
class RowSelection::Model final : public QItemSelectionModel {
 public:
  Model(SoundList& list, RowSet& rows) : QItemSelectionModel(&list), rows_(rows) {}

  using QItemSelectionModel::select;
  void select(const QItemSelection& selection, SelectionFlags command) override {
    std::vector<RowSpan> spans;
    for (const QItemSelectionRange& r : selection) {
      if (r.isValid() && r.model() == model()) spans.push_back({r.top(), r.bottom()});
    }
    Apply(spans, command);
  }
  void clear() override {
    Apply({}, Clear);
    clearCurrentIndex();
  }

  void Apply(const std::vector<RowSpan>& spans, SelectionFlags command) {
    if (command == NoUpdate) return;
    bool changed = false;
    if (!(command & Current)) {
      committed_.reset();
    } else if (committed_) {
      rows_ = *committed_;
      changed = true;
    }
    if (command & Clear) changed |= rows_.Clear();
    if (command & Current) {
      if (!committed_) {
        committed_ = std::make_unique<RowSet>(rows_);
      } else if (command & Clear) {
        *committed_ = rows_;
      }
    }
    for (const RowSpan& s : spans) {
      if (command & Toggle) {
        changed |= rows_.Flip(s.first, s.last);
      } else if (command & Deselect) {
        changed |= rows_.Assign(s.first, s.last, false);
      } else if (command & Select) {
        changed |= rows_.Assign(s.first, s.last, true);
      }
    }
    // The view repaints what it shows; the rows changed are not listed for it.
    if (changed) Q_EMIT selectionChanged(QItemSelection(), QItemSelection());
  }

  // Rows inserted or removed under a span being extended: the span becomes final as it is.
  void Settle() { committed_.reset(); }

 private:
  RowSet& rows_;
  std::unique_ptr<RowSet> committed_;
};

RowSelection::RowSelection(SoundList& list)
    : list_(list), model_(std::make_unique<Model>(list, rows_)) {
  connect(model_.get(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (quiet_ == 0) CheckCurrentRow();
  });
  connect(&list, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) {
            model_->Settle();
            rows_.InsertRows(first, last - first + 1);
          });
  connect(&list, &QAbstractItemModel::rowsRemoved, this,
          [this](const QModelIndex&, int first, int last) {
            model_->Settle();
            rows_.RemoveRows(first, last);
          });
  connect(&list, &QAbstractItemModel::modelReset, this, [this] {
    model_->Settle();
    rows_.Reset(list_.RowCount());
  });
}

RowSelection::~RowSelection() = default;

QItemSelectionModel* RowSelection::SelectionModel() { return model_.get(); }

const QItemSelectionModel* RowSelection::SelectionModel() const { return model_.get(); }

void RowSelection::SelectRow(int row) { model_->Apply({{row, row}}, QItemSelectionModel::Select); }

void RowSelection::DeselectRow(int row) {
  model_->Apply({{row, row}}, QItemSelectionModel::Deselect);
}

void RowSelection::ScrollIntoView(int row) {
  if (row < 0 || row >= list_.RowCount()) return;
  Q_EMIT scrollToRowRequested(row);
}

void RowSelection::SelectOnly(int row) {
  if (row < 0 || row >= list_.RowCount()) {
    model_->Apply({}, QItemSelectionModel::Clear);
    return;
  }
  // The keyboard goes on from the row the program selected.
  model_->setCurrentIndex(list_.index(row, SoundList::kNameColumn), QItemSelectionModel::NoUpdate);
  model_->Apply({{row, row}}, QItemSelectionModel::ClearAndSelect);
  ScrollIntoView(row);
}

void RowSelection::ChangeSelection(int mode) {
  const int last = list_.RowCount() - 1;
  if (mode == 1) {
    model_->Apply({{0, last}}, QItemSelectionModel::Select);
  } else if (mode == -1) {
    model_->Apply({}, QItemSelectionModel::Clear);
  } else if (mode == 0) {
    model_->Apply({{0, last}}, QItemSelectionModel::Toggle);
  }
}

void RowSelection::SelectRange(int from, int to) {
  model_->Apply({{std::min(from, to), std::max(from, to)}}, QItemSelectionModel::Select);
}

void RowSelection::SelectRows(const std::vector<int>& rows) {
  std::vector<RowSpan> spans;
  spans.reserve(rows.size());
  for (int r : rows) spans.push_back({r, r});
  model_->Apply(spans, QItemSelectionModel::Select);
}

QString RowSelection::CountText(int row) const {
  return QString::number(row + 1) + u'/' + QString::number(list_.RowCount());
}

void RowSelection::CheckCurrentRow() {
  const int current = CurrentRow();
  if (current == lastCurrent_) return;
  lastCurrent_ = current;
  Q_EMIT currentRowChanged(current);
}
