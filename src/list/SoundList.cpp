#include "list/SoundList.h"

#include <QHash>
#include <QStringView>
#include <algorithm>

#include "platform/EventPump.h"
#include "platform/Files.h"
#include "text/PathParts.h"
#include "text/SizeTexts.h"

namespace {

// Above this many separate runs, RemoveRows rebuilds the rows in one model reset (selection,
// current index and scroll position kept): every removal of a run moves the tail of the
// vector and walks every selection range, so under a view of 100,000 rows one run costs about
// as much as the whole reset (bench_list BM_RemoveScattered).
constexpr size_t kMaxSeparateRemovals = 3;

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

}  // namespace

SoundList::SoundList(QObject* parent)
    : QAbstractTableModel(parent),
      selection_(new QItemSelectionModel(this, this)),
      headers_{QStringLiteral("文件名"), QStringLiteral("大小"), QStringLiteral("目录")} {
  connect(selection_, &QItemSelectionModel::selectionChanged, this, [this] {
    if (quiet_ == 0) CheckCurrentRow();
  });
}

SoundList::~SoundList() = default;

int SoundList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int SoundList::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant SoundList::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount()) return {};
  const SoundRow& r = Row(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      switch (index.column()) {
        case kNameColumn: return r.fileName;
        case kSizeColumn: return RowSizeText(index.row());
        case kDirectoryColumn: return r.directory;
        default: return {};
      }
    case kRawValueRole:
      switch (index.column()) {
        case kNameColumn: return r.fileName;
        case kSizeColumn: return r.size;
        case kDirectoryColumn: return r.directory;
        default: return {};
      }
    case Qt::DecorationRole:
      return index.column() == kNameColumn ? rowIcon_ : QVariant();
    default:
      return {};
  }
}

QVariant SoundList::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section >= 0 && section < kColumnCount &&
      (role == Qt::DisplayRole || role == Qt::EditRole)) {
    return headers_[section];
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags SoundList::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (index.column() == kNameColumn) f |= Qt::ItemIsEditable;
  return f;
}

bool SoundList::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != kNameColumn ||
      index.row() >= RowCount() || !renameHandler_) {
    return false;
  }
  const QString text = value.toString();
  if (!renameHandler_(index.row(), text)) return false;
  SetRowFileName(index.row(), text);
  return true;
}

void SoundList::SetRenameHandler(std::function<bool(int, const QString&)> handler) {
  renameHandler_ = std::move(handler);
}

void SoundList::SetRowIcon(const QVariant& icon) {
  rowIcon_ = icon;
  if (!rows_.empty()) {
    Q_EMIT dataChanged(index(0, kNameColumn), index(RowCount() - 1, kNameColumn),
                       {Qt::DecorationRole});
  }
}

// ---- Rows

void SoundList::AddRow(const QString& fileName, const QString& directory) {
  SoundRow row;
  row.fileName = fileName;
  // Rows added one by one (the scan, drops) usually come directory by directory.
  row.directory = (!rows_.empty() && rows_.back().directory == directory)
                      ? rows_.back().directory
                      : directory;
  row.size = Files::Size(JoinPath(directory, fileName));
  const int at = RowCount();
  beginInsertRows(QModelIndex(), at, at);
  rows_.push_back(std::move(row));
  endInsertRows();
}

int SoundList::AddPaths(const QStringList& paths, bool onlyExisting) {
  // First the file sizes (the slow part, with events pumped), then the rows in one insertion.
  std::vector<qint64> sizes;
  sizes.reserve(static_cast<size_t>(paths.size()));
  size_t added = 0;
  for (const QString& path : paths) {
    const qint64 size = Files::Size(path);
    sizes.push_back(size);
    if (size >= 0 || !onlyExisting) ++added;
    PumpEvents();
  }
  if (added == 0) return 0;

  const size_t needed = rows_.size() + added;
  if (needed > rows_.capacity()) rows_.reserve(std::max(needed, rows_.capacity() * 3 / 2));

  // Rows of one directory share one text.
  QHash<QStringView, QString> directories;
  QString lastDirectory;
  const int first = RowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(added) - 1);
  for (qsizetype i = 0; i < paths.size(); ++i) {
    const qint64 size = sizes[static_cast<size_t>(i)];
    if (size < 0 && onlyExisting) continue;
    const QString& path = paths[i];
    const qsizetype cut = path.lastIndexOf(kPathSeparator);
    const QStringView dirView = cut < 0 ? QStringView() : QStringView(path).left(cut);
    if (lastDirectory.isNull() || QStringView(lastDirectory) != dirView) {
      auto it = directories.constFind(dirView);
      if (it == directories.constEnd()) {
        QString dir = dirView.toString();
        it = directories.insert(QStringView(dir), dir);
      }
      lastDirectory = it.value();
    }
    SoundRow row;
    row.fileName = path.mid(cut + 1);
    row.directory = lastDirectory;
    row.size = size;
    rows_.push_back(std::move(row));
  }
  endInsertRows();
  return static_cast<int>(added);
}

QString SoundList::RowFileName(int row) const { return Row(row).fileName; }

QString SoundList::RowDirectory(int row) const { return Row(row).directory; }

QString SoundList::RowFullPath(int row) const {
  const SoundRow& r = Row(row);
  return JoinPath(r.directory, r.fileName);
}

qint64 SoundList::RowSize(int row) const { return Row(row).size; }

QString SoundList::RowSizeText(int row) const {
  const SoundRow& r = Row(row);
  return r.sizeText.isEmpty() ? FormatByteSize(static_cast<double>(r.size)) : r.sizeText;
}

void SoundList::SetRowFileName(int row, const QString& text) {
  rows_[static_cast<size_t>(row)].fileName = text;
  const QModelIndex i = index(row, kNameColumn);
  Q_EMIT dataChanged(i, i);
}

void SoundList::SetRowSizeText(int row, const QString& text) {
  rows_[static_cast<size_t>(row)].sizeText = text;
  const QModelIndex i = index(row, kSizeColumn);
  Q_EMIT dataChanged(i, i);
}

void SoundList::SetRowDirectory(int row, const QString& text) {
  rows_[static_cast<size_t>(row)].directory = text;
  const QModelIndex i = index(row, kDirectoryColumn);
  Q_EMIT dataChanged(i, i);
}

void SoundList::RemoveRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  ++quiet_;
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
  --quiet_;
  lastCurrent_ = CurrentRow();
}

void SoundList::RemoveRows(std::vector<int> rows) {
  const int count = RowCount();
  rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int r) { return r < 0 || r >= count; }),
             rows.end());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) return;

  std::vector<RowSpan> runs;
  for (int r : rows) {
    if (!runs.empty() && runs.back().last + 1 == r) {
      runs.back().last = r;
    } else {
      runs.push_back({r, r});
    }
  }

  ++quiet_;
  if (runs.size() <= kMaxSeparateRemovals) {
    // From the last run to the first, so earlier runs keep their indices.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
      beginRemoveRows(QModelIndex(), run->first, run->last);
      rows_.erase(rows_.begin() + run->first, rows_.begin() + run->last + 1);
      endRemoveRows();
    }
  } else {
    // newIndex[r] is the row's index after the removal, -1 for a removed row.
    std::vector<int> newIndex(static_cast<size_t>(count), 0);
    for (int r : rows) newIndex[static_cast<size_t>(r)] = -1;
    int next = 0;
    for (int& n : newIndex) n = n < 0 ? -1 : next++;

    std::vector<RowSpan> kept;
    for (int r : SelectedRows()) {
      const int n = newIndex[static_cast<size_t>(r)];
      if (n < 0) continue;
      if (!kept.empty() && kept.back().last + 1 == n) {
        kept.back().last = n;
      } else {
        kept.push_back({n, n});
      }
    }
    const QModelIndex oldCurrent = selection_->currentIndex();
    int newCurrent = -1;
    if (oldCurrent.isValid() && oldCurrent.row() < count) {
      newCurrent = newIndex[static_cast<size_t>(oldCurrent.row())];
    }

    beginResetModel();
    size_t out = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (newIndex[i] >= 0) {
        if (out != i) rows_[out] = std::move(rows_[i]);
        ++out;
      }
    }
    rows_.resize(out);
    endResetModel();

    QItemSelection restored;
    for (const RowSpan& s : kept) {
      restored.append(QItemSelectionRange(index(s.first, 0), index(s.last, kColumnCount - 1)));
    }
    if (newCurrent >= 0) {
      selection_->setCurrentIndex(index(newCurrent, oldCurrent.column()),
                                  QItemSelectionModel::NoUpdate);
    }
    if (!restored.isEmpty()) selection_->select(restored, QItemSelectionModel::Select);
  }
  --quiet_;
  lastCurrent_ = CurrentRow();
}

void SoundList::RemoveAllRows() {
  ++quiet_;
  beginResetModel();
  std::vector<SoundRow>().swap(rows_);
  endResetModel();
  --quiet_;
  lastCurrent_ = -1;
}

void SoundList::SwapRows(int a, int b) {
  if (a == b || a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  std::swap(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]);
  Q_EMIT dataChanged(index(a, 0), index(a, kColumnCount - 1));
  Q_EMIT dataChanged(index(b, 0), index(b, kColumnCount - 1));
}

void SoundList::ApplyOrder(const std::vector<int>& order) {
  const size_t n = rows_.size();
  if (order.size() != n || n == 0) return;
  std::vector<int> newPosition(n, -1);
  for (size_t i = 0; i < n; ++i) {
    const int old = order[i];
    if (old < 0 || static_cast<size_t>(old) >= n || newPosition[static_cast<size_t>(old)] >= 0) {
      return;  // not a permutation
    }
    newPosition[static_cast<size_t>(old)] = static_cast<int>(i);
  }

  ++quiet_;
  // The selection is carried over here as row runs: the selection model's own way keeps one
  // persistent index per selected row, which costs more than the sort itself.
  const std::vector<int> selected = SelectedRows();
  if (!selected.empty()) selection_->clearSelection();
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<SoundRow> sorted;
  sorted.reserve(n);
  for (int old : order) sorted.push_back(std::move(rows_[static_cast<size_t>(old)]));
  rows_.swap(sorted);

  // The view keeps persistent indices (its current index): move them with their rows.
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& i : from) {
    to.append(index(newPosition[static_cast<size_t>(i.row())], i.column()));
  }
  changePersistentIndexList(from, to);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> moved;
  moved.reserve(selected.size());
  for (int r : selected) moved.push_back(newPosition[static_cast<size_t>(r)]);
  SelectRows(moved);
  --quiet_;
  lastCurrent_ = CurrentRow();
}

// ---- Selection

namespace {

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

QItemSelection SoundList::RowsSelection(int first, int last) const {
  return QItemSelection(index(first, 0), index(last, kColumnCount - 1));
}

int SoundList::CurrentRow() const {
  int first = -1;
  for (const QItemSelectionRange& r : selection_->selection()) {
    if (r.isValid() && (first < 0 || r.top() < first)) first = r.top();
  }
  return first;
}

std::vector<int> SoundList::SelectedRows() const {
  std::vector<int> rows;
  for (const RowSpan& s : SelectedSpans(*selection_)) {
    for (int r = s.first; r <= s.last; ++r) rows.push_back(r);
  }
  return rows;
}

int SoundList::SelectedCount() const {
  int count = 0;
  for (const RowSpan& s : SelectedSpans(*selection_)) count += s.last - s.first + 1;
  return count;
}

void SoundList::SelectRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  selection_->select(RowsSelection(row, row), QItemSelectionModel::Select);
}

void SoundList::DeselectRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  selection_->select(RowsSelection(row, row), QItemSelectionModel::Deselect);
}

bool SoundList::IsRowSelected(int row) const {
  for (const QItemSelectionRange& r : selection_->selection()) {
    if (r.isValid() && r.top() <= row && row <= r.bottom()) return true;
  }
  return false;
}

void SoundList::ScrollIntoView(int row) {
  if (row < 0 || row >= RowCount()) return;
  Q_EMIT scrollToRowRequested(row);
}

void SoundList::SelectOnly(int row) {
  if (row < 0 || row >= RowCount()) {
    selection_->clearSelection();
    return;
  }
  // The keyboard goes on from the row the program selected.
  selection_->setCurrentIndex(index(row, kNameColumn), QItemSelectionModel::NoUpdate);
  selection_->select(RowsSelection(row, row), QItemSelectionModel::ClearAndSelect);
  ScrollIntoView(row);
}

void SoundList::ChangeSelection(int mode) {
  const int count = RowCount();
  if (count == 0) return;
  if (mode == 1) {
    selection_->select(RowsSelection(0, count - 1), QItemSelectionModel::Select);
  } else if (mode == -1) {
    selection_->clearSelection();
  } else if (mode == 0) {
    QItemSelection inverted;
    int next = 0;
    for (const RowSpan& s : SelectedSpans(*selection_)) {
      if (s.first > next) inverted.append(QItemSelectionRange(index(next, 0), index(s.first - 1, kColumnCount - 1)));
      next = s.last + 1;
    }
    if (next < count) inverted.append(QItemSelectionRange(index(next, 0), index(count - 1, kColumnCount - 1)));
    if (inverted.isEmpty()) {
      selection_->clearSelection();
    } else {
      selection_->select(inverted, QItemSelectionModel::ClearAndSelect);
    }
  }
}

void SoundList::SelectRange(int from, int to) {
  const int first = std::max(std::min(from, to), 0);
  const int last = std::min(std::max(from, to), RowCount() - 1);
  if (first > last) return;
  selection_->select(RowsSelection(first, last), QItemSelectionModel::Select);
}

void SoundList::SelectRows(const std::vector<int>& rows) {
  std::vector<RowSpan> spans;
  spans.reserve(rows.size());
  for (int r : rows) {
    if (r >= 0 && r < RowCount()) spans.push_back({r, r});
  }
  if (spans.empty()) return;
  QItemSelection selection;
  for (const RowSpan& s : MergeSpans(std::move(spans))) {
    selection.append(QItemSelectionRange(index(s.first, 0), index(s.last, kColumnCount - 1)));
  }
  selection_->select(selection, QItemSelectionModel::Select);
}

QString SoundList::CountText(int row) const {
  return QString::number(row + 1) + u'/' + QString::number(RowCount());
}

void SoundList::CheckCurrentRow() {
  const int current = CurrentRow();
  if (current == lastCurrent_) return;
  lastCurrent_ = current;
  Q_EMIT currentRowChanged(current);
}
