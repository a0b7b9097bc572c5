// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/gui/SoundListAccessible.h"

#include <QHeaderView>
#include <QPointer>

#include "list/gui/SoundListView.h"

namespace {

QAbstractItemModel* ModelOf(const SoundListView* view) { return view ? view->model() : nullptr; }

// A child of the table: a cell (row and column >= 0), a header cell (the other -1) or the
// corner (both -1). It names a position, read anew on every question.
class ListPart : public QAccessibleInterface {
 public:
  ListPart(SoundListView* view, int row, int column) : view_(view), row_(row), column_(column) {}
  SoundListView* View() const { return view_; }
  int Row() const { return row_; }
  int Column() const { return column_; }

  bool isValid() const override {
    const QAbstractItemModel* model = ModelOf(view_);
    return model && row_ < model->rowCount() && column_ < model->columnCount();
  }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(view_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}

 protected:
  // The name and description of a part from its model data by role, as item views give them.
  template <typename Data>
  static QString ModelText(QAccessible::Text t, const Data& data) {
    if (t == QAccessible::Description) return data(Qt::AccessibleDescriptionRole).toString();
    if (t != QAccessible::Name) return QString();
    const QString text = data(Qt::AccessibleTextRole).toString();
    return text.isEmpty() ? data(Qt::DisplayRole).toString() : text;
  }

 private:
  QPointer<SoundListView> view_;
  int row_;
  int column_;
};

class ListHeaderCell : public ListPart {
 public:
  using ListPart::ListPart;

  QAccessible::Role role() const override {
    if (Row() < 0 && Column() < 0) return QAccessible::Pane;
    return Row() < 0 ? QAccessible::ColumnHeader : QAccessible::RowHeader;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (const QHeaderView* header = Header()) {
      s.invisible = !header->isVisible();
      s.disabled = !header->isEnabled();
    }
    return s;
  }
  QRect rect() const override {
    const QHeaderView* header = Header();
    if (!header || Section() < 0) return QRect();
    const QPoint zero = header->mapToGlobal(QPoint(0, 0));
    const int size = header->sectionSize(Section());
    const int pos = header->sectionPosition(Section());
    return header->orientation() == Qt::Horizontal
               ? QRect(zero.x() + pos, zero.y(), size, header->height())
               : QRect(zero.x(), zero.y() + pos, header->width(), size);
  }
  QString text(QAccessible::Text t) const override {
    const QAbstractItemModel* model = ModelOf(View());
    if (!model || Section() < 0) return QString();
    const Qt::Orientation orientation = Row() < 0 ? Qt::Horizontal : Qt::Vertical;
    return ModelText(t, [&](int role) { return model->headerData(Section(), orientation, role); });
  }

 private:
  int Section() const { return Row() < 0 ? Column() : Row(); }
  // The corner shows with the row header.
  QHeaderView* Header() const {
    if (!View()) return nullptr;
    return Row() < 0 && Column() >= 0 ? View()->horizontalHeader() : View()->verticalHeader();
  }
};

class ListCell : public ListPart,
                 public QAccessibleTableCellInterface,
                 public QAccessibleActionInterface {
 public:
  using ListPart::ListPart;

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State s;
    const SoundListView* view = View();
    if (!view) return s;
    const QRect viewRect(view->mapToGlobal(QPoint(0, 0)), view->size());
    s.invisible = !viewRect.intersects(rect());
    s.selected = isSelected();
    s.focused = view->currentIndex() == Index();
    if (Index().flags() & Qt::ItemIsSelectable) {
      s.selectable = true;
      s.focusable = true;
      s.extSelectable = view->selectionMode() == QAbstractItemView::ExtendedSelection;
    }
    return s;
  }
  QRect rect() const override {
    const SoundListView* view = View();
    if (!view) return QRect();
    const QRect r = view->visualRect(Index());
    if (r.isNull()) return r;
    return r.translated(view->viewport()->mapToGlobal(QPoint(0, 0)));
  }
  QString text(QAccessible::Text t) const override {
    const QModelIndex index = Index();
    return ModelText(t, [&index](int role) { return index.data(role); });
  }
  // A name set here renames as a name typed into the cell does.
  void setText(QAccessible::Text, const QString& text) override {
    if (Index().flags() & Qt::ItemIsEditable) View()->model()->setData(Index(), text);
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override { return View() && View()->IsRowSelected(Row()); }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return Headers(-1, Column()); }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return Headers(Row(), -1); }
  int columnIndex() const override { return Column(); }
  int rowIndex() const override { return Row(); }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  // QAccessibleActionInterface: toggling a cell toggles its row.
  QStringList actionNames() const override { return {toggleAction()}; }
  void doAction(const QString& name) override {
    QAccessibleTableInterface* rows = table() ? table()->tableInterface() : nullptr;
    if (name != toggleAction() || !rows) return;
    if (isSelected())
      rows->unselectRow(Row());
    else
      rows->selectRow(Row());
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QModelIndex Index() const {
    const QAbstractItemModel* model = ModelOf(View());
    return model ? model->index(Row(), Column()) : QModelIndex();
  }
  QList<QAccessibleInterface*> Headers(int row, int column) const {
    const auto* list = dynamic_cast<const SoundListAccessible*>(table());
    if (!list) return {};
    return {list->child(list->ChildIndex(row, column))};
  }
};

}  // namespace

SoundListAccessible::SoundListAccessible(SoundListView* view)
    : QAccessibleWidget(view, QAccessible::Table) {}

SoundListAccessible::~SoundListAccessible() { DropChildren(); }

QAccessibleInterface* SoundListAccessible::Create(const QString& className, QObject* object) {
  auto* view = qobject_cast<SoundListView*>(object);
  if (!view || className != QLatin1String("SoundListView")) return nullptr;
  return new SoundListAccessible(view);
}

SoundListView* SoundListAccessible::View() const { return static_cast<SoundListView*>(object()); }

int SoundListAccessible::ChildIndex(int row, int column) const {
  return (row + 1) * (columnCount() + 1) + column + 1;
}

void* SoundListAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* SoundListAccessible::focusChild() const {
  const QModelIndex current = View()->currentIndex();
  return current.isValid() ? child(ChildIndex(current.row(), current.column())) : nullptr;
}

QAccessibleInterface* SoundListAccessible::childAt(int x, int y) const {
  const QModelIndex index = View()->indexAt(View()->viewport()->mapFromGlobal(QPoint(x, y)));
  return index.isValid() ? child(ChildIndex(index.row(), index.column())) : nullptr;
}

QAccessibleInterface* SoundListAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  if (const auto found = children_.constFind(index); found != children_.constEnd())
    return QAccessible::accessibleInterface(found.value());
  const int width = columnCount() + 1;
  const int row = index / width - 1;
  const int column = index % width - 1;
  QAccessibleInterface* part = nullptr;
  if (row < 0 || column < 0)
    part = new ListHeaderCell(View(), row, column);
  else
    part = new ListCell(View(), row, column);
  // The accessibility cache owns it from here; DropChildren deletes it.
  children_.insert(index, QAccessible::registerAccessibleInterface(part));
  return part;
}

int SoundListAccessible::childCount() const { return (rowCount() + 1) * (columnCount() + 1); }

int SoundListAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* part = dynamic_cast<const ListPart*>(child);
  if (!part || part->View() != View()) return -1;
  return ChildIndex(part->Row(), part->Column());
}

QAccessibleInterface* SoundListAccessible::cellAt(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
  return child(ChildIndex(row, column));
}

int SoundListAccessible::selectedCellCount() const { return selectedRowCount() * columnCount(); }

QList<QAccessibleInterface*> SoundListAccessible::selectedCells() const {
  QList<QAccessibleInterface*> cells;
  const QList<int> rows = selectedRows();
  cells.reserve(rows.size() * columnCount());
  for (int row : rows)
    for (int column = 0; column < columnCount(); ++column) cells << cellAt(row, column);
  return cells;
}

QString SoundListAccessible::columnDescription(int column) const {
  const QAbstractItemModel* model = ModelOf(View());
  return model ? model->headerData(column, Qt::Horizontal).toString() : QString();
}

QString SoundListAccessible::rowDescription(int row) const {
  const QAbstractItemModel* model = ModelOf(View());
  return model ? model->headerData(row, Qt::Vertical).toString() : QString();
}

// A column counts as selected once every row is.
int SoundListAccessible::selectedColumnCount() const { return selectedColumns().size(); }

int SoundListAccessible::selectedRowCount() const {
  const RowSelection* selection = View()->Selection();
  return selection ? selection->SelectedCount() : 0;
}

int SoundListAccessible::columnCount() const {
  const QAbstractItemModel* model = ModelOf(View());
  return model ? model->columnCount() : 0;
}

int SoundListAccessible::rowCount() const {
  const QAbstractItemModel* model = ModelOf(View());
  return model ? model->rowCount() : 0;
}

QList<int> SoundListAccessible::selectedColumns() const {
  QList<int> columns;
  if (rowCount() > 0 && selectedRowCount() == rowCount())
    for (int column = 0; column < columnCount(); ++column) columns << column;
  return columns;
}

QList<int> SoundListAccessible::selectedRows() const {
  const RowSelection* selection = View()->Selection();
  if (!selection) return {};
  const std::vector<int> rows = selection->SelectedRows();
  return QList<int>(rows.begin(), rows.end());
}

bool SoundListAccessible::isColumnSelected(int column) const {
  return selectedColumns().contains(column);
}

bool SoundListAccessible::isRowSelected(int row) const { return View()->IsRowSelected(row); }

bool SoundListAccessible::selectRow(int row) {
  RowSelection* selection = View()->Selection();
  if (!selection || row < 0 || row >= rowCount()) return false;
  selection->SelectRow(row);
  return true;
}

bool SoundListAccessible::unselectRow(int row) {
  RowSelection* selection = View()->Selection();
  if (!selection || row < 0 || row >= rowCount()) return false;
  selection->DeselectRow(row);
  return true;
}

// Rows come and go under their numbers: the children made so far are made anew when asked for.
void SoundListAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
  if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) DropChildren();
}

void SoundListAccessible::DropChildren() {
  for (QAccessible::Id id : std::as_const(children_)) QAccessible::deleteAccessibleInterface(id);
  children_.clear();
}
