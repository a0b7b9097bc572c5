// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "list/RowSelection.h"

// One row of the sound list, as it is added and read back. Rows of one directory share the
// directory's text.
struct SoundRow {
  QString fileName;
  QString directory;  // without a trailing separator
  qint64 size = -1;   // bytes when the row was added, -1 when the file did not exist
  QString sizeText;   // set by SetRowSizeText; empty means FormatByteSize(size)
};

// The sound list: the rows in display order and the row operations that every area uses, with
// the selection of its rows beside it (Selection()). Columns 文件名, 大小, 目录.
class SoundList : public QAbstractTableModel {
  Q_OBJECT
  struct Stored;

 public:
  enum Column { kNameColumn = 0, kSizeColumn = 1, kDirectoryColumn = 2, kColumnCount = 3 };
  // The value a column sorts by: the name or directory text, or the size as qint64.
  static constexpr int kRawValueRole = Qt::UserRole + 1;

  explicit SoundList(QObject* parent = nullptr);
  ~SoundList() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // An edit of column 0 goes to the rename handler; the name changes only when it accepts.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  RowSelection& Selection() { return selection_; }
  const RowSelection& Selection() const { return selection_; }
  // Called with (row, edited text) when an in-place edit ends; returns whether to accept it.
  void SetRenameHandler(std::function<bool(int, const QString&)> handler);
  // Row icon shown in column 0 (a null icon shows none).
  void SetRowIcon(const QVariant& icon);

  // Builds rows for one insertion at the end, as compact as the list keeps them: the way to add
  // a million rows without holding them twice.
  class Batch {
   public:
    explicit Batch(SoundList& list, size_t expected = 0);
    // The directory's id: its text is kept once, however many rows name it.
    quint32 Directory(const QString& text);
    void Add(QString fileName, quint32 directory, qint64 size, const QString& sizeText = QString());
    // Appends the rows added so far in one insertion and returns their number.
    int Commit();

   private:
    SoundList& list_;
    std::vector<SoundList::Stored> rows_;
  };

  // Rows
  // Appends the rows in one insertion. Rows of one directory, in the batch and with the last
  // row before it, come to share one directory text.
  void AppendRows(std::vector<SoundRow> rows);
  // Appends one row with the file's size now.
  void AddRow(const QString& fileName, const QString& directory);
  // Appends one row per path (split at the last separator) in one insertion; with onlyExisting
  // set, paths whose file does not exist are skipped. Returns the number of rows added.
  int AddPaths(const QStringList& paths, bool onlyExisting);
  int RowCount() const { return static_cast<int>(rows_.size()); }
  SoundRow Row(int row) const;
  const QString& RowFileName(int row) const { return At(row).fileName; }
  const QString& RowDirectory(int row) const { return directories_[At(row).directory]; }
  QString RowFullPath(int row) const;
  qint64 RowSize(int row) const;
  QString RowSizeText(int row) const;
  void SetRowFileName(int row, const QString& text);
  void SetRowSizeText(int row, const QString& text);
  void SetRowDirectory(int row, const QString& text);
  void RemoveRow(int row);
  // Removes the given rows (any order, duplicates ignored) in as few removals as possible.
  void RemoveRows(std::vector<int> rows);
  void RemoveAllRows();
  // Exchanges two whole rows. The selection stays where it is; other persistent indices on the
  // two rows (the view's current index among them) follow their rows.
  void SwapRows(int a, int b);
  // Puts the rows in the given order (order[i] is the old index of new row i) in one layout
  // change; the selection and the view's current row follow the rows they were on.
  void ApplyOrder(const std::vector<int>& order);

 private:
  // A row as kept: 40 bytes beside its name's text. Directories and the rare replaced size texts
  // live in tables of their own (0 is "none" for the size text).
  struct Stored {
    QString fileName;
    qint64 size;
    quint32 directory;
    quint32 sizeText;
  };
  const Stored& At(int row) const { return rows_[static_cast<size_t>(row)]; }
  quint32 DirectoryId(const QString& text);
  void Insert(std::vector<Stored> rows);

  std::vector<Stored> rows_;
  // deque: references handed out by RowDirectory stay valid while directories are added.
  std::deque<QString> directories_;
  QHash<QString, quint32> directoryIds_;
  std::vector<QString> sizeTexts_;
  RowSelection selection_{*this};
  std::function<bool(int, const QString&)> renameHandler_;
  QVariant rowIcon_;
  QString headers_[kColumnCount];
};
