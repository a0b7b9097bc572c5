// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/ListRowSorter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <span>
#include <utility>

#include "list/SoundList.h"
#include "platform/Encoding.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"

namespace {

const QString kAscendingMark = QStringLiteral(" ∴");
const QString kDescendingMark = QStringLiteral(" ∵");

// The sort bytes of distinct texts end to end in one buffer: a key per text, not an allocation.
class SortKeys {
 public:
  SortKeys(size_t expectedKeys, size_t expectedBytes) {
    ends_.reserve(expectedKeys);
    Grow(expectedBytes);
  }

  uint32_t Add(QStringView text) {
    char* start = Room(static_cast<size_t>(text.size()) * 4);
    const size_t length = static_cast<size_t>(WriteGb18030(text, start) - start);
    // Looked for after the encoding, which brought the text into the cache.
    if (HasEscapedBytes(text)) {
      const QByteArray bytes = NameSortBytes(text.toString());
      start = Room(static_cast<size_t>(bytes.size()));
      std::memcpy(start, bytes.constData(), static_cast<size_t>(bytes.size()));
      used_ += static_cast<size_t>(bytes.size());
    } else {
      used_ += length;
    }
    ends_.push_back(used_);
    return static_cast<uint32_t>(ends_.size() - 1);
  }
  size_t Count() const { return ends_.size(); }
  const unsigned char* Bytes(uint32_t key) const {
    return reinterpret_cast<const unsigned char*>(bytes_.get()) + Start(key);
  }
  size_t Length(uint32_t key) const { return ends_[key] - Start(key); }

 private:
  size_t Start(uint32_t key) const { return key == 0 ? 0 : ends_[key - 1]; }
  char* Room(size_t size) {
    if (used_ + size > capacity_) Grow(std::max(capacity_ * 2, used_ + size));
    return bytes_.get() + used_;
  }
  void Grow(size_t capacity) {
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    if (used_ > 0) std::memcpy(bytes.get(), bytes_.get(), used_);
    bytes_ = std::move(bytes);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> bytes_;
  size_t used_ = 0;
  size_t capacity_ = 0;
  std::vector<size_t> ends_;
};

// An index with the 64-bit key it sorts by.
struct KeyedIndex {
  uint64_t key;
  uint32_t index;
};

// Sorts items by keyOf(item), stable: a least-significant-digit radix sort that skips the digits
// every key shares.
template <typename Item, typename KeyOf>
void RadixSort(std::span<Item> items, KeyOf keyOf) {
  constexpr int kBits = 8;
  constexpr int kDigits = (64 + kBits - 1) / kBits;
  constexpr uint64_t kMask = (uint64_t{1} << kBits) - 1;
  std::vector<std::array<size_t, kMask + 1>> counts(kDigits);
  for (const Item& item : items) {
    const uint64_t key = keyOf(item);
    for (int d = 0; d < kDigits; ++d) ++counts[d][(key >> (d * kBits)) & kMask];
  }
  std::vector<Item> buffer;
  std::span<Item> from = items;
  for (int d = 0; d < kDigits; ++d) {
    auto& next = counts[d];
    if (std::find(next.begin(), next.end(), items.size()) != next.end()) continue;
    if (buffer.empty()) buffer.resize(items.size());
    const std::span<Item> to = from.data() == items.data() ? std::span<Item>(buffer) : items;
    size_t start = 0;
    for (size_t& n : next) start += std::exchange(n, start);
    for (const Item& item : from) to[next[(keyOf(item) >> (d * kBits)) & kMask]++] = item;
    from = to;
  }
  if (from.data() != items.data()) std::copy(from.begin(), from.end(), items.begin());
}

// Up to 7 key bytes from depth on, big-endian, above the count of bytes left there capped at 8:
// comparing chunks compares the keys' next 7 bytes with the shorter first, and equal chunks
// ending in 8 leave the rest of the keys to compare.
constexpr size_t kChunkBytes = 7;
constexpr uint64_t kMoreBytes = 8;
// Runs at least this long are sorted by radix: long common starts make long runs.
constexpr ptrdiff_t kRadixRun = 4096;

uint64_t Chunk(const SortKeys& keys, uint32_t key, size_t depth) {
  const size_t length = keys.Length(key);
  const size_t left = length > depth ? length - depth : 0;
  const unsigned char* bytes = keys.Bytes(key) + std::min(depth, length);
  uint64_t chunk = 0;
  for (size_t i = 0; i < std::min(left, kChunkBytes); ++i)
    chunk |= uint64_t(bytes[i]) << (56 - 8 * i);
  return chunk | std::min<uint64_t>(left, kMoreBytes);
}

// Key ids in byte order of their keys, and whether each has the same bytes as the one before.
struct KeyOrder {
  std::vector<uint32_t> sorted;
  std::vector<bool> tiedWithPrevious;
};

KeyOrder SortKeyBytes(const SortKeys& keys) {
  const size_t count = keys.Count();
  std::vector<KeyedIndex> items(count);
  for (uint32_t k = 0; k < count; ++k) items[k] = {Chunk(keys, k, 0), k};
  const auto byKey = [](const KeyedIndex& i) { return i.key; };
  RadixSort(std::span(items), byKey);
  // Runs of keys equal so far, sorted a chunk further on: most keys differ in their first bytes.
  struct Run {
    size_t begin;
    size_t end;
    size_t depth;
  };
  std::vector<Run> runs;
  KeyOrder order{std::vector<uint32_t>(count), std::vector<bool>(count, false)};
  const auto settle = [&](size_t begin, size_t end, size_t depth) {
    for (size_t i = begin; i < end;) {
      size_t j = i + 1;
      while (j < end && items[j].key == items[i].key) ++j;
      if ((items[i].key & 0xFF) == kMoreBytes && j - i > 1) {
        runs.push_back({i, j, depth + kChunkBytes});
      } else {
        for (size_t t = i + 1; t < j; ++t) order.tiedWithPrevious[t] = true;
      }
      i = j;
    }
  };
  settle(0, count, 0);
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    const auto begin = items.begin() + static_cast<ptrdiff_t>(run.begin);
    const auto end = items.begin() + static_cast<ptrdiff_t>(run.end);
    for (auto i = begin; i != end; ++i) i->key = Chunk(keys, i->index, run.depth);
    // The keys of a run are in index order, which either sort keeps among equal chunks.
    if (end - begin >= kRadixRun) {
      RadixSort(std::span(begin, end), byKey);
    } else {
      std::sort(begin, end, [](const KeyedIndex& a, const KeyedIndex& b) {
        return a.key != b.key ? a.key < b.key : a.index < b.index;
      });
    }
    settle(run.begin, run.end, run.depth);
  }
  std::transform(items.begin(), items.end(), order.sorted.begin(),
                 [](const KeyedIndex& i) { return i.index; });
  return order;
}

// The key of every row's text, made from the texts in the order of their addresses: once the
// rows were sorted, reading them in row order costs a cache and TLB miss for almost every row.
struct RowKeys {
  SortKeys keys;
  std::vector<uint32_t> keyRow;  // the row whose text made each key
  std::vector<uint32_t> rowKey;  // each row's key, only when rows share keys
};

template <typename TextOf>
RowKeys MakeRowKeys(size_t count, TextOf textOf) {
  struct Text {
    const QChar* data;
    qsizetype size;
    uint32_t row;
  };
  std::vector<Text> texts(count);
  size_t units = 0;
  for (uint32_t r = 0; r < count; ++r) {
    const QString& t = textOf(r);
    texts[r] = {t.constData(), t.size(), r};
    units += static_cast<size_t>(t.size());
  }
  RadixSort(std::span(texts),
            [](const Text& t) { return reinterpret_cast<uintptr_t>(t.data) >> 6; });

  // Rows of one directory share one text: a small cache of recent texts by their data gives
  // each shared text one key. A missed share only costs a second, equal key.
  struct Seen {
    const QChar* data = nullptr;
    qsizetype size = -1;
    uint32_t key = 0;
  };
  constexpr int kSeenBits = 12;
  std::vector<Seen> seen(size_t{1} << kSeenBits);
  RowKeys made{SortKeys(count, units * 2 + 64), {}, {}};
  made.keyRow.reserve(count);
  for (const Text& t : texts) {
    const auto hash = (reinterpret_cast<uintptr_t>(t.data) >> 3) * 0x9E3779B97F4A7C15u;
    Seen& slot = seen[hash >> (64 - kSeenBits)];
    if (slot.data != t.data || slot.size != t.size) {
      slot = {t.data, t.size, made.keys.Add(QStringView(t.data, t.size))};
      made.keyRow.push_back(t.row);
    } else if (made.rowKey.empty()) {
      // The first shared text: until now each row had a key of its own.
      made.rowKey.resize(count);
      for (uint32_t k = 0; k < made.keyRow.size(); ++k) made.rowKey[made.keyRow[k]] = k;
    }
    if (!made.rowKey.empty()) made.rowKey[t.row] = slot.key;
  }
  return made;
}

// Ascending by text in GB18030 byte order (a text with escaped bytes by NameSortBytes), stable.
std::vector<int> TextOrder(const SoundList& list, int column) {
  const auto count = static_cast<size_t>(list.RowCount());
  // The size texts are made here: they live until the end, so their data stay distinct.
  std::vector<QString> sizeTexts;
  if (column == SoundList::kSizeColumn) {
    sizeTexts.reserve(count);
    for (int r = 0; r < list.RowCount(); ++r) sizeTexts.push_back(list.RowSizeText(r));
  }
  const RowKeys made = MakeRowKeys(count, [&](uint32_t r) -> const QString& {
    if (column == SoundList::kNameColumn) return list.RowFileName(static_cast<int>(r));
    if (column == SoundList::kSizeColumn) return sizeTexts[r];
    return list.RowDirectory(static_cast<int>(r));
  });
  const KeyOrder order = SortKeyBytes(made.keys);
  const size_t keyCount = made.keys.Count();
  std::vector<int> rows(count);
  if (made.rowKey.empty()) {
    // A key per row: the rows in key order, rows of equal keys in row order.
    for (size_t i = 0; i < count; ++i) rows[i] = static_cast<int>(made.keyRow[order.sorted[i]]);
    for (size_t i = 0; i < count;) {
      size_t j = i + 1;
      while (j < count && order.tiedWithPrevious[j]) ++j;
      if (j - i > 1) std::sort(&rows[i], &rows[i] + (j - i));
      i = j;
    }
    return rows;
  }
  // Rows by the rank of their key, the rows of one rank in row order.
  std::vector<uint32_t> rank(keyCount);
  uint32_t distinct = 0;
  for (size_t i = 0; i < keyCount; ++i) {
    if (i > 0 && !order.tiedWithPrevious[i]) ++distinct;
    rank[order.sorted[i]] = distinct;
  }
  std::vector<uint32_t> next(keyCount + 1, 0);
  for (uint32_t k : made.rowKey) ++next[rank[k] + 1];
  std::partial_sum(next.begin(), next.end(), next.begin());
  for (size_t r = 0; r < count; ++r) rows[next[rank[made.rowKey[r]]]++] = static_cast<int>(r);
  return rows;
}

// Ascending by size, stable.
std::vector<int> SizeOrder(const SoundList& list) {
  std::vector<KeyedIndex> items(static_cast<size_t>(list.RowCount()));
  for (uint32_t r = 0; r < items.size(); ++r) {
    // The sign bit flipped: -1 (no file) sorts first as an unsigned number too.
    items[r] = {static_cast<uint64_t>(list.RowSize(static_cast<int>(r))) ^ (uint64_t{1} << 63), r};
  }
  RadixSort(std::span(items), [](const KeyedIndex& i) { return i.key; });
  std::vector<int> rows(items.size());
  std::transform(items.begin(), items.end(), rows.begin(),
                 [](const KeyedIndex& i) { return static_cast<int>(i.index); });
  return rows;
}

}  // namespace

std::vector<int> ListRowSorter::SortedOrder(const SoundList& list, KeyKind kind, int column,
                                            bool ascending) {
  std::vector<int> order = kind == kByValue ? SizeOrder(list) : TextOrder(list, column);
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
