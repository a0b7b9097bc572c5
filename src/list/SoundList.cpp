// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/SoundList.h"

#include <QHash>
#include <QStringView>
#include <algorithm>
#include <iterator>

#include "platform/EventPump.h"
#include "platform/Files.h"
#include "platform/NativePath.h"
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

}  // namespace

SoundList::SoundList(QObject* parent)
    : QAbstractTableModel(parent),
      headers_{QStringLiteral("文件名"), QStringLiteral("大小"), QStringLiteral("目录")} {}

SoundList::~SoundList() = default;

int SoundList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int SoundList::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant SoundList::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount()) return {};
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
      // The editor starts from the true name, so an edit keeps every byte it does not touch.
      const bool shown = role == Qt::DisplayRole;
      switch (index.column()) {
        case kNameColumn:
          return shown ? DisplayName(RowFileName(row)) : RowFileName(row);
        case kSizeColumn:
          return RowSizeText(row);
        case kDirectoryColumn:
          return shown ? DisplayName(RowDirectory(row)) : RowDirectory(row);
        default:
          return {};
      }
    }
    case kRawValueRole:
      switch (index.column()) {
        case kNameColumn:
          return RowFileName(row);
        case kSizeColumn:
          return RowSize(row);
        case kDirectoryColumn:
          return RowDirectory(row);
        default:
          return {};
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

SoundList::Batch::Batch(SoundList& list, size_t expected) : list_(list) { rows_.reserve(expected); }

quint32 SoundList::Batch::Directory(const QString& text) { return list_.DirectoryId(text); }

void SoundList::Batch::Add(QString fileName, quint32 directory, qint64 size,
                           const QString& sizeText) {
  quint32 text = 0;
  if (!sizeText.isEmpty()) {
    list_.sizeTexts_.push_back(sizeText);
    text = static_cast<quint32>(list_.sizeTexts_.size());
  }
  rows_.push_back({std::move(fileName), size, directory, text});
}

int SoundList::Batch::Commit() {
  const int added = static_cast<int>(rows_.size());
  list_.Insert(std::move(rows_));
  rows_.clear();
  return added;
}

quint32 SoundList::DirectoryId(const QString& text) {
  const auto it = directoryIds_.constFind(text);
  if (it != directoryIds_.constEnd()) return it.value();
  const auto id = static_cast<quint32>(directories_.size());
  directories_.push_back(text);
  directoryIds_.insert(text, id);
  return id;
}

void SoundList::Insert(std::vector<Stored> rows) {
  if (rows.empty()) return;
  const int first = RowCount();
  const size_t needed = rows_.size() + rows.size();
  if (!rows_.empty() && needed > rows_.capacity()) {
    rows_.reserve(std::max(needed, rows_.capacity() * 3 / 2));
  }
  beginInsertRows(QModelIndex(), first, static_cast<int>(needed) - 1);
  if (rows_.empty()) {
    rows_.swap(rows);  // a first batch is taken over without a copy
  } else {
    std::move(rows.begin(), rows.end(), std::back_inserter(rows_));
  }
  endInsertRows();
}

void SoundList::AppendRows(std::vector<SoundRow> rows) {
  Batch batch(*this, rows.size());
  const QString* last = nullptr;
  quint32 id = 0;
  for (const SoundRow& row : rows) {
    if (!last || *last != row.directory) id = batch.Directory(row.directory);
    last = &row.directory;
    batch.Add(row.fileName, id, row.size, row.sizeText);
  }
  batch.Commit();
}

void SoundList::AddRow(const QString& fileName, const QString& directory) {
  AppendRows({{fileName, directory, Files::Size(JoinPath(directory, fileName)), QString()}});
}

int SoundList::AddPaths(const QStringList& paths, bool onlyExisting) {
  Batch batch(*this);
  QString lastDirectory;
  quint32 id = 0;
  for (const QString& path : paths) {
    const qint64 size = Files::Size(path);
    PumpEvents();
    if (size < 0 && onlyExisting) continue;
    const qsizetype cut = path.lastIndexOf(kPathSeparator);
    const QStringView directory = cut < 0 ? QStringView() : QStringView(path).left(cut);
    if (lastDirectory.isNull() || QStringView(lastDirectory) != directory) {
      lastDirectory = directory.toString();
      id = batch.Directory(lastDirectory);
    }
    batch.Add(path.mid(cut + 1), id, size);
  }
  return batch.Commit();
}

SoundRow SoundList::Row(int row) const {
  const Stored& r = At(row);
  return {r.fileName, directories_[r.directory], r.size,
          r.sizeText ? sizeTexts_[r.sizeText - 1] : QString()};
}

QString SoundList::RowFullPath(int row) const {
  return JoinPath(RowDirectory(row), RowFileName(row));
}

qint64 SoundList::RowSize(int row) const { return At(row).size; }

QString SoundList::RowSizeText(int row) const {
  const Stored& r = At(row);
  if (r.sizeText && !sizeTexts_[r.sizeText - 1].isEmpty()) return sizeTexts_[r.sizeText - 1];
  return FormatByteSize(static_cast<double>(r.size));
}

void SoundList::SetRowFileName(int row, const QString& text) {
  rows_[static_cast<size_t>(row)].fileName = text;
  const QModelIndex i = index(row, kNameColumn);
  Q_EMIT dataChanged(i, i);
}

void SoundList::SetRowSizeText(int row, const QString& text) {
  Stored& r = rows_[static_cast<size_t>(row)];
  if (r.sizeText) {
    sizeTexts_[r.sizeText - 1] = text;
  } else {
    sizeTexts_.push_back(text);
    r.sizeText = static_cast<quint32>(sizeTexts_.size());
  }
  const QModelIndex i = index(row, kSizeColumn);
  Q_EMIT dataChanged(i, i);
}

void SoundList::SetRowDirectory(int row, const QString& text) {
  rows_[static_cast<size_t>(row)].directory = DirectoryId(text);
  const QModelIndex i = index(row, kDirectoryColumn);
  Q_EMIT dataChanged(i, i);
}

void SoundList::RemoveRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const RowSelection::Quiet quiet(selection_);
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void SoundList::RemoveRows(std::vector<int> rows) {
  const int count = RowCount();
  rows.erase(
      std::remove_if(rows.begin(), rows.end(), [count](int r) { return r < 0 || r >= count; }),
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

  const RowSelection::Quiet quiet(selection_);
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

    // A reset forgets the selection and the view's current index: both are put back after it.
    std::vector<int> kept;
    for (int r : selection_.SelectedRows()) {
      const int n = newIndex[static_cast<size_t>(r)];
      if (n >= 0) kept.push_back(n);
    }
    QItemSelectionModel& model = *selection_.SelectionModel();
    const QModelIndex oldCurrent = model.currentIndex();
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

    if (newCurrent >= 0) {
      model.setCurrentIndex(index(newCurrent, oldCurrent.column()), QItemSelectionModel::NoUpdate);
    }
    selection_.SelectRows(kept);
  }
}

void SoundList::RemoveAllRows() {
  const RowSelection::Quiet quiet(selection_);
  beginResetModel();
  std::vector<Stored>().swap(rows_);
  // The tables go with the rows: nothing refers to them any more.
  directories_.clear();
  directoryIds_.clear();
  sizeTexts_.clear();
  endResetModel();
}

void SoundList::SwapRows(int a, int b) {
  if (a == b || a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  // The selection is held by row number and stays on the same positions; the layout change
  // moves only the persistent indices (the view's current index) with their rows.
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::swap(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]);
  QModelIndexList from;
  QModelIndexList to;
  for (const QModelIndex& i : persistentIndexList()) {
    if (i.row() != a && i.row() != b) continue;
    from.append(i);
    to.append(index(i.row() == a ? b : a, i.column()));
  }
  changePersistentIndexList(from, to);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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

  const RowSelection::Quiet quiet(selection_);
  // The selection is carried over by row number; persistent indices would cost one per row.
  const std::vector<int> selected = selection_.SelectedRows();
  if (!selected.empty()) selection_.ChangeSelection(-1);
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<Stored> sorted;
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
  selection_.SelectRows(moved);
}
