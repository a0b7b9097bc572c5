#include "list/ListRowSorter.h"

#include <QStringView>
#include <algorithm>
#include <numeric>

#include "list/SoundList.h"
#include "platform/Encoding.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"

namespace {

const QString kAscendingMark = QStringLiteral(" ∴");
const QString kDescendingMark = QStringLiteral(" ∵");

QString ColumnText(const SoundList& list, int row, int column) {
  switch (column) {
    case SoundList::kNameColumn: return list.Row(row).fileName;
    case SoundList::kSizeColumn: return list.RowSizeText(row);
    default: return list.Row(row).directory;
  }
}

// Whether a sorts before b, where a text with sort bytes (NameSortBytes) compares by them.
bool LessByBytes(const QString& a, const QByteArray& aBytes, const QString& b,
                 const QByteArray& bBytes) {
  if (!aBytes.isNull()) return bBytes.isNull() ? CompareGb18030(b, aBytes) > 0 : aBytes < bBytes;
  return (bBytes.isNull() ? CompareGb18030(a, b) : CompareGb18030(a, bBytes)) < 0;
}

}  // namespace

std::vector<int> ListRowSorter::SortedOrder(const SoundList& list, KeyKind kind, int column,
                                            bool ascending) {
  const int count = list.RowCount();
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  if (kind == kByValue) {
    std::stable_sort(order.begin(), order.end(),
                     [&list](int a, int b) { return list.Row(a).size < list.Row(b).size; });
  } else {
    std::vector<QString> keys(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) keys[static_cast<size_t>(r)] = ColumnText(list, r, column);
    // Names that are not UTF-8 sort by their bytes, kept apart so other names sort as before.
    std::vector<QByteArray> bytes;
    for (int r = 0; r < count; ++r) {
      const QString& key = keys[static_cast<size_t>(r)];
      if (!HasEscapedBytes(key)) continue;
      if (bytes.empty()) bytes.resize(static_cast<size_t>(count));
      bytes[static_cast<size_t>(r)] = NameSortBytes(key);
    }
    // Rows of one directory share one text: equal data needs no comparison.
    const auto sameText = [&keys](int a, int b) {
      const QString& ka = keys[static_cast<size_t>(a)];
      const QString& kb = keys[static_cast<size_t>(b)];
      return ka.constData() == kb.constData() && ka.size() == kb.size();
    };
    if (bytes.empty()) {
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return !sameText(a, b) &&
               CompareGb18030(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]) < 0;
      });
    } else {
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (sameText(a, b)) return false;
        const auto ia = static_cast<size_t>(a);
        const auto ib = static_cast<size_t>(b);
        return LessByBytes(keys[ia], bytes[ia], keys[ib], bytes[ib]);
      });
    }
  }
  // Descending: non-increasing keys, equal keys in the reverse of their previous order.
  if (!ascending) std::reverse(order.begin(), order.end());
  return order;
}

void ListRowSorter::SortRows(SoundList& list, KeyKind kind, int column, bool ascending) {
  list.ApplyOrder(SortedOrder(list, kind, column, ascending));
}

void ColumnSorter::SortByColumn(SoundList& list, int column,
                                const std::function<void(const QString&)>& say) {
  LongJob job;
  if (!job.Acquired()) return;
  ascending_ = !ascending_;
  const bool bySize = column == SoundList::kSizeColumn;
  const QString kindWord = bySize ? QStringLiteral("按尺寸") : QStringLiteral("按文本");
  say(QStringLiteral("正在排序...") + kindWord);
  sorter_.SortRows(list, bySize ? ListRowSorter::kByValue : ListRowSorter::kByText, column,
                   ascending_);
  say(kindWord + QStringLiteral("排序完成，") + job.ElapsedText());
  markedColumn_ = column;
}

QString ColumnSorter::Mark(int column) const {
  if (column != markedColumn_) return QString();
  return ascending_ ? kAscendingMark : kDescendingMark;
}
