#include "list/RowSelection.h"

#include <algorithm>

#include "list/SoundList.h"

namespace {

struct RowSpan {
  int first;
  int last;
};

// Sorted, non-overlapping row spans from arbitrary ones.
std::vector<RowSpan> MergeSpans(std::vector<RowSpan> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const RowSpan& a, const RowSpan& b) { return a.first < b.first; });
  std::vector<RowSpan> merged;
  for (const RowSpan& s : spans) {
    if (!merged.empty() && s.first <= merged.back().last + 1) {
      merged.back().last = std::max(merged.back().last, s.last);
    } else {
      merged.push_back(s);
    }
  }
  return merged;
}

std::vector<RowSpan> SelectedSpans(const QItemSelectionModel& model) {
  const QItemSelection selection = model.selection();
  std::vector<RowSpan> spans;
  spans.reserve(static_cast<size_t>(selection.size()));
  for (const QItemSelectionRange& r : selection) {
    if (r.isValid()) spans.push_back({r.top(), r.bottom()});
  }
  return MergeSpans(std::move(spans));
}

}  // namespace

RowSelection::RowSelection(SoundList& list) : list_(list), model_(&list) {
  connect(&model_, &QItemSelectionModel::selectionChanged, this, [this] {
    if (quiet_ == 0) CheckCurrentRow();
  });
}

RowSelection::~RowSelection() = default;

QItemSelectionRange RowSelection::RowsRange(int first, int last) const {
  return QItemSelectionRange(list_.index(first, 0), list_.index(last, SoundList::kColumnCount - 1));
}

int RowSelection::CurrentRow() const {
  int first = -1;
  for (const QItemSelectionRange& r : model_.selection()) {
    if (r.isValid() && (first < 0 || r.top() < first)) first = r.top();
  }
  return first;
}

std::vector<int> RowSelection::SelectedRows() const {
  std::vector<int> rows;
  for (const RowSpan& s : SelectedSpans(model_)) {
    for (int r = s.first; r <= s.last; ++r) rows.push_back(r);
  }
  return rows;
}

int RowSelection::SelectedCount() const {
  int count = 0;
  for (const RowSpan& s : SelectedSpans(model_)) count += s.last - s.first + 1;
  return count;
}

void RowSelection::SelectRow(int row) {
  if (row < 0 || row >= list_.RowCount()) return;
  model_.select(QItemSelection{RowsRange(row, row)}, QItemSelectionModel::Select);
}

void RowSelection::DeselectRow(int row) {
  if (row < 0 || row >= list_.RowCount()) return;
  model_.select(QItemSelection{RowsRange(row, row)}, QItemSelectionModel::Deselect);
}

bool RowSelection::IsRowSelected(int row) const {
  for (const QItemSelectionRange& r : model_.selection()) {
    if (r.isValid() && r.top() <= row && row <= r.bottom()) return true;
  }
  return false;
}

void RowSelection::ScrollIntoView(int row) {
  if (row < 0 || row >= list_.RowCount()) return;
  Q_EMIT scrollToRowRequested(row);
}

void RowSelection::SelectOnly(int row) {
  if (row < 0 || row >= list_.RowCount()) {
    model_.clearSelection();
    return;
  }
  // The keyboard goes on from the row the program selected.
  model_.setCurrentIndex(list_.index(row, SoundList::kNameColumn), QItemSelectionModel::NoUpdate);
  model_.select(QItemSelection{RowsRange(row, row)}, QItemSelectionModel::ClearAndSelect);
  ScrollIntoView(row);
}

void RowSelection::ChangeSelection(int mode) {
  const int count = list_.RowCount();
  if (count == 0) return;
  if (mode == 1) {
    model_.select(QItemSelection{RowsRange(0, count - 1)}, QItemSelectionModel::Select);
  } else if (mode == -1) {
    model_.clearSelection();
  } else if (mode == 0) {
    QItemSelection inverted;
    int next = 0;
    for (const RowSpan& s : SelectedSpans(model_)) {
      if (s.first > next) inverted.append(RowsRange(next, s.first - 1));
      next = s.last + 1;
    }
    if (next < count) inverted.append(RowsRange(next, count - 1));
    if (inverted.isEmpty()) {
      model_.clearSelection();
    } else {
      model_.select(inverted, QItemSelectionModel::ClearAndSelect);
    }
  }
}

void RowSelection::SelectRange(int from, int to) {
  const int first = std::max(std::min(from, to), 0);
  const int last = std::min(std::max(from, to), list_.RowCount() - 1);
  if (first > last) return;
  model_.select(QItemSelection{RowsRange(first, last)}, QItemSelectionModel::Select);
}

void RowSelection::SelectRows(const std::vector<int>& rows) {
  std::vector<RowSpan> spans;
  spans.reserve(rows.size());
  for (int r : rows) {
    if (r >= 0 && r < list_.RowCount()) spans.push_back({r, r});
  }
  if (spans.empty()) return;
  QItemSelection selection;
  for (const RowSpan& s : MergeSpans(std::move(spans))) {
    selection.append(RowsRange(s.first, s.last));
  }
  model_.select(selection, QItemSelectionModel::Select);
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
