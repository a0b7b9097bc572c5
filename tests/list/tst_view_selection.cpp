// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QApplication>
#include <QtTest>

#include "ListContext.h"
#include "list/gui/SoundListController.h"
#include "list/gui/SoundListView.h"

// The list's view keeps its selection in the list's row set, not in the selection model's
// ranges. A mouse and keyboard session must select what the item view selects by itself: each
// step goes to both views, and the selected rows and the current row must agree after it. A
// screen reader reads and sets the same rows through the view's accessible table.
class TestViewSelection : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void matchesTheItemView_data();
  void matchesTheItemView();
  void accessibleTableUsesTheRowSet();
};

namespace {

QStringList Paths(int count) {
  QStringList paths;
  for (int i = 0; i < count; ++i) paths << QStringLiteral("/d/%1.wav").arg(i);
  return paths;
}

void Prepare(QTableView& view, QAbstractItemModel& model) {
  view.resize(400, 400);  // room below the rows for a click on no row
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.setSelectionMode(QAbstractItemView::ExtendedSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setModel(&model);
  view.show();
}

// A step is "click:ROW", "rclick:ROW" (ROW -1: below the rows) or "key:NAME", each with an
// optional ":ctrl", ":shift" or ":ctrl+shift".
void Run(QTableView& view, const QString& step) {
  const QStringList p = step.split(u':');
  Qt::KeyboardModifiers mods;
  if (p.value(2).contains(u"ctrl")) mods |= Qt::ControlModifier;
  if (p.value(2).contains(u"shift")) mods |= Qt::ShiftModifier;
  if (p[0] == u"key") {
    const QHash<QString, Qt::Key> keys{{"down", Qt::Key_Down},
                                       {"up", Qt::Key_Up},
                                       {"space", Qt::Key_Space},
                                       {"a", Qt::Key_A},
                                       {"pgdown", Qt::Key_PageDown}};
    QTest::keyClick(&view, keys.value(p[1]), mods);
    return;
  }
  const int row = p[1].toInt();
  const QPoint at = row < 0 ? QPoint(20, view.viewport()->height() - 5)
                            : view.visualRect(view.model()->index(row, 0)).center();
  const Qt::MouseButton button = p[0] == u"rclick" ? Qt::RightButton : Qt::LeftButton;
  QTest::mouseClick(view.viewport(), button, mods, at);
}

QList<int> ItemViewRows(const QTableView& view) {
  QList<int> rows;
  for (const QModelIndex& i : view.selectionModel()->selectedRows()) rows << i.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace

void TestViewSelection::matchesTheItemView_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::newRow("ctrl and shift clicks")
      << QStringList{"click:1",      "click:3:ctrl", "click:5:shift",      "click:3:ctrl",
                     "click:0:ctrl", "click:4",      "click:6:ctrl+shift", "click:2:shift"};
  QTest::newRow("shift keys extend and shrink") << QStringList{
      "click:2",        "key:down:shift", "key:down:shift", "key:up:shift",  "key:down:ctrl",
      "key:space:ctrl", "key:down",       "key:up:shift",   "click:7:shift", "key:pgdown:shift"};
  QTest::newRow("all, then a click on a selected row") << QStringList{
      "click:6", "key:a:ctrl", "click:3", "key:a:ctrl", "click:3:ctrl", "click:3:ctrl"};
  QTest::newRow("right button and the empty area")
      << QStringList{"click:1",       "click:2:shift", "rclick:5", "click:6:ctrl", "rclick:6",
                     "rclick:0:ctrl", "rclick:-1",     "click:4",  "click:-1"};
}

void TestViewSelection::matchesTheItemView() {
  QFETCH(QStringList, steps);
  ListContext c;
  SoundList& list = c.list;
  list.AddPaths(Paths(9), false);
  SoundListView view;
  const SoundListController controller(view, list, c.status, c.sound, c.player, c.options.play, {});
  Prepare(view, list);

  SoundList plainList;
  plainList.AddPaths(Paths(9), false);
  QTableView plain;
  Prepare(plain, plainList);
  QVERIFY(QTest::qWaitForWindowExposed(&view) && QTest::qWaitForWindowExposed(&plain));

  for (const QString& step : steps) {
    Run(view, step);
    Run(plain, step);
    const std::vector<int> rows = list.Selection().SelectedRows();
    QCOMPARE(QList<int>(rows.begin(), rows.end()), ItemViewRows(plain));
    QCOMPARE(view.currentIndex().row(), plain.currentIndex().row());
  }
}

void TestViewSelection::accessibleTableUsesTheRowSet() {
  ListContext c;
  c.list.AddPaths(Paths(5), false);
  SoundListView view;
  const SoundListController controller(view, c.list, c.status, c.sound, c.player, c.options.play,
                                       {});
  c.list.Selection().SelectRows({1, 3});
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
  QAccessibleTableInterface* table = iface->tableInterface();
  QVERIFY(table);
  QCOMPARE(table->selectedRows(), (QList<int>{1, 3}));
  QCOMPARE(table->selectedCellCount(), 2 * table->columnCount());
  QVERIFY(table->isRowSelected(3) && !table->isRowSelected(2));
  QAccessibleInterface* cell = table->cellAt(3, 2);
  QVERIFY(cell->tableCellInterface()->isSelected() && cell->state().selected);
  QVERIFY(!table->cellAt(2, 2)->state().selected);
  // The view's focus events number the cells past the corner, the column headers and a row header.
  QCOMPARE(iface->indexOfChild(cell), 4 * (table->columnCount() + 1) + 3);
  QCOMPARE(iface->child(iface->indexOfChild(cell)), cell);

  QVERIFY(table->selectRow(4));
  QVERIFY(table->unselectRow(1));
  QVERIFY(!table->selectRow(5));
  QCOMPARE(c.list.Selection().SelectedRows(), (std::vector<int>{3, 4}));
  table->selectedCells().first()->actionInterface()->doAction(
      QAccessibleActionInterface::toggleAction());
  QCOMPARE(c.list.Selection().SelectedRows(), (std::vector<int>{4}));
}

QTEST_MAIN(TestViewSelection)
#include "tst_view_selection.moc"
