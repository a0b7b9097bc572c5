#pragma once
#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// One row of the sound list. Rows of one directory share the directory's text.
struct SoundRow {
  QString fileName;
  QString directory;  // without a trailing separator
  qint64 size = -1;   // bytes when the row was added, -1 when the file did not exist
  QString sizeText;   // set by SetRowSizeText; empty means FormatByteSize(size)
};

// The sound list: the rows in display order, their selection and the row operations that every
// area uses. Columns 文件名, 大小, 目录. The current row is the first selected row, -1 for none.
class SoundList : public QAbstractTableModel {
  Q_OBJECT
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

  QItemSelectionModel* selectionModel() const { return selection_; }
  // Called with (row, edited text) when an in-place edit ends; returns whether to accept it.
  void SetRenameHandler(std::function<bool(int, const QString&)> handler);
  // Row icon shown in column 0 (a null icon shows none).
  void SetRowIcon(const QVariant& icon);

  // Rows
  void AddRow(const QString& fileName, const QString& directory);
  // Appends one row per path (split at the last separator) in one insertion; with onlyExisting
  // set, paths whose file does not exist are skipped. Returns the number of rows added.
  int AddPaths(const QStringList& paths, bool onlyExisting);
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const SoundRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
  QString RowFileName(int row) const;
  QString RowDirectory(int row) const;
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
  // Exchanges two whole rows; the selection stays where it is.
  void SwapRows(int a, int b);
  // Puts the rows in the given order (order[i] is the old index of new row i) in one layout
  // change; the selection and the view's current row follow the rows they were on.
  void ApplyOrder(const std::vector<int>& order);

  // Selection
  int CurrentRow() const;
  std::vector<int> SelectedRows() const;  // ascending
  int SelectedCount() const;
  void SelectRow(int row);
  void DeselectRow(int row);
  bool IsRowSelected(int row) const;
  // Asks the view (scrollToRowRequested) to make the row visible.
  void ScrollIntoView(int row);
  // Selects the row alone, makes it the view's current index and scrolls to it; -1 or a row
  // past the end deselects every row.
  void SelectOnly(int row);
  void ChangeSelection(int mode);  // 1 all, -1 none, 0 invert
  void SelectRange(int from, int to);
  // Adds the given rows (any order; rows not in the list ignored) to the selection in one
  // selection change, as runs of rows: the way to select thousands of rows.
  void SelectRows(const std::vector<int>& rows);

  // While one exists, selections made by the program raise no currentRowChanged (find selects
  // its matches without the play-on-selection trigger playing them).
  class QuietSelection {
   public:
    explicit QuietSelection(SoundList& list) : list_(list) { ++list_.quiet_; }
    ~QuietSelection() {
      --list_.quiet_;
      list_.lastCurrent_ = list_.CurrentRow();
    }
    QuietSelection(const QuietSelection&) = delete;
    QuietSelection& operator=(const QuietSelection&) = delete;

   private:
    SoundList& list_;
  };

  // "n/m" with n = row + 1 (0 for -1) and m the row count.
  QString CountText(int row) const;

 Q_SIGNALS:
  void scrollToRowRequested(int row);
  // The first selected row changed through a change of the selection (by the user or by the
  // program). Row insertions, removals, SwapRows and ApplyOrder never raise it: they move the
  // rows under the selection, they do not choose another file, so nothing plays.
  void currentRowChanged(int row);

 private:
  void CheckCurrentRow();
  QItemSelection RowsSelection(int first, int last) const;
  std::vector<SoundRow> rows_;
  QItemSelectionModel* selection_;
  std::function<bool(int, const QString&)> renameHandler_;
  QVariant rowIcon_;
  QString headers_[kColumnCount];
  int lastCurrent_ = -1;
  int quiet_ = 0;  // > 0 while rows move: selection changes then raise no currentRowChanged
};
