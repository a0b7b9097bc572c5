// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QtTest>

#include <random>
#include "ListRows.h"

#include "list/RowSelection.h"
#include "list/RowSet.h"
#include "list/SoundList.h"

class TestSelection : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void selectionCommands_data();
  void selectionCommands();
  void currentRowSignal();
  void rowSetAgreesWithPlainRows();
};

// A step is "op:a:b": select a, deselect a, only a, range a b, change mode a.
void TestSelection::selectionCommands_data() {
  QTest::addColumn<int>("rows");
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QList<int>>("selected");
  QTest::addColumn<int>("current");

  QTest::newRow("range down keeps earlier")
      << 10 << QStringList{"select:8", "range:5:2"} << QList<int>{2, 3, 4, 5, 8} << 2;
  QTest::newRow("range to the bottom")
      << 10 << QStringList{"select:0", "range:3:9"} << QList<int>{0, 3, 4, 5, 6, 7, 8, 9} << 0;
  QTest::newRow("range to the top") << 6 << QStringList{"range:3:0"} << QList<int>{0, 1, 2, 3} << 0;
  QTest::newRow("range from no current row")
      << 4 << QStringList{"range:-1:0"} << QList<int>{0} << 0;
  QTest::newRow("range from = to") << 4 << QStringList{"range:2:2"} << QList<int>{2} << 2;
  QTest::newRow("range past the end") << 4 << QStringList{"range:2:7"} << QList<int>{2, 3} << 2;
  QTest::newRow("invert") << 4 << QStringList{"select:0", "select:2", "change:0"}
                          << QList<int>{1, 3} << 1;
  QTest::newRow("invert all") << 3 << QStringList{"change:1", "change:0"} << QList<int>{} << -1;
  QTest::newRow("invert none") << 3 << QStringList{"change:0"} << QList<int>{0, 1, 2} << 0;
  QTest::newRow("select all") << 3 << QStringList{"change:1"} << QList<int>{0, 1, 2} << 0;
  QTest::newRow("deselect all") << 3 << QStringList{"change:1", "change:-1"} << QList<int>{} << -1;
  QTest::newRow("only") << 5 << QStringList{"change:1", "only:3"} << QList<int>{3} << 3;
  QTest::newRow("only -1") << 5 << QStringList{"change:1", "only:-1"} << QList<int>{} << -1;
  QTest::newRow("only past the end")
      << 5 << QStringList{"select:1", "only:5"} << QList<int>{} << -1;
  QTest::newRow("deselect") << 5 << QStringList{"range:0:4", "deselect:0"} << QList<int>{1, 2, 3, 4}
                            << 1;
  QTest::newRow("rows in one change")
      << 8 << QStringList{"select:2", "rows:6:0:7:3:2:-1:9"} << QList<int>{0, 2, 3, 6, 7} << 0;
  QTest::newRow("empty list") << 0 << QStringList{"change:1", "change:0", "range:-1:0",
                                                  "only:0",   "select:0", "rows:0"}
                              << QList<int>{} << -1;
}

void TestSelection::selectionCommands() {
  QFETCH(int, rows);
  QFETCH(QStringList, steps);
  QFETCH(QList<int>, selected);
  QFETCH(int, current);
  SoundList list;
  Fill(list, rows);
  RowSelection& selection = list.Selection();
  QSignalSpy scrolled(&selection, &RowSelection::scrollToRowRequested);
  for (const QString& step : steps) {
    const QStringList p = step.split(u':');
    const int a = p.value(1).toInt();
    if (p[0] == u"select") selection.SelectRow(a);
    if (p[0] == u"deselect") selection.DeselectRow(a);
    if (p[0] == u"only") selection.SelectOnly(a);
    if (p[0] == u"range") selection.SelectRange(a, p.value(2).toInt());
    if (p[0] == u"change") selection.ChangeSelection(a);
    if (p[0] == u"rows") {
      std::vector<int> rowList;
      for (qsizetype i = 1; i < p.size(); ++i) rowList.push_back(p[i].toInt());
      QSignalSpy changes(selection.SelectionModel(), &QItemSelectionModel::selectionChanged);
      selection.SelectRows(rowList);
      QVERIFY(changes.count() <= 1);
    }
  }
  QCOMPARE(Selected(list), selected);
  QCOMPARE(selection.SelectedCount(), selected.size());
  QCOMPARE(selection.CurrentRow(), current);
  for (int r = 0; r < rows; ++r) QCOMPARE(selection.IsRowSelected(r), selected.contains(r));
  // Only SelectOnly of a row of the list scrolls.
  const bool scrolls = steps.last().startsWith(u"only") && current >= 0;
  QCOMPARE(scrolled.count(), scrolls ? 1 : 0);
  if (scrolls) QCOMPARE(scrolled.first().first().toInt(), current);
  QCOMPARE(selection.CountText(selection.CurrentRow()),
           QStringLiteral("%1/%2").arg(current + 1).arg(rows));
}

void TestSelection::currentRowSignal() {
  SoundList list;
  Fill(list, 6);
  RowSelection& selection = list.Selection();
  QSignalSpy changed(&selection, &RowSelection::currentRowChanged);
  selection.SelectRow(3);
  selection.SelectRow(5);       // the first selected row stays 3
  selection.SelectRange(4, 1);  // one selection change, first row 1
  selection.ChangeSelection(-1);
  QCOMPARE(changed.count(), 3);
  QCOMPARE(changed[0].first().toInt(), 3);
  QCOMPARE(changed[1].first().toInt(), 1);
  QCOMPARE(changed[2].first().toInt(), -1);
  // Moving rows under the selection does not choose another file.
  selection.SelectRow(4);
  changed.clear();
  list.RemoveRow(0);
  list.SwapRows(0, 3);
  list.ApplyOrder({4, 3, 2, 1, 0});
  QCOMPARE(changed.count(), 0);
  QCOMPARE(selection.CurrentRow(), 1);
  QCOMPARE(selection.CountText(-1), QStringLiteral("0/5"));
  QCOMPARE(selection.CountText(5), QStringLiteral("6/5"));

  // A quiet selection is the new starting point: only a later change away from it is reported.
  {
    const RowSelection::Quiet quiet(selection);
    selection.SelectOnly(3);
  }
  selection.SelectRow(4);
  QCOMPARE(changed.count(), 0);
  selection.SelectOnly(1);
  QCOMPARE(changed.count(), 1);
  QCOMPARE(changed[0].first().toInt(), 1);
}

// Random changes and row insertions and removals, each checked against a plain list of flags:
// the set keeps bounds around its rows, which every change must keep right.
void TestSelection::rowSetAgreesWithPlainRows() {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    RowSet set;
    std::vector<bool> plain;
    const int size = static_cast<int>(random() % 40);
    set.Reset(size);
    plain.assign(static_cast<size_t>(size), false);
    for (int step = 0; step < 30; ++step) {
      const int n = static_cast<int>(plain.size());
      const int a = static_cast<int>(random() % (n + 3)) - 1;  // sometimes outside the rows
      const int b = a + static_cast<int>(random() % 6);
      const int first = std::max(a, 0);
      const int last = std::min(b, n - 1);
      switch (random() % 6) {
        case 0:
        case 1:
        case 2: {
          const bool on = random() % 3 != 0;
          set.Assign(a, b, on);
          for (int r = first; r <= last; ++r) plain[size_t(r)] = on;
          break;
        }
        case 3:
          set.Flip(a, b);
          for (int r = first; r <= last; ++r) plain[size_t(r)] = !plain[size_t(r)];
          break;
        case 4: {
          const int at = std::clamp(a, 0, n);
          set.InsertRows(at, b - a);
          plain.insert(plain.begin() + at, size_t(b - a), false);
          break;
        }
        default:
          if (random() % 4 == 0) {
            set.Clear();
            plain.assign(plain.size(), false);
          } else if (first <= last) {
            set.RemoveRows(a, b);
            plain.erase(plain.begin() + first, plain.begin() + last + 1);
          }
      }
      std::vector<int> expected;
      for (int r = 0; r < static_cast<int>(plain.size()); ++r) {
        if (plain[size_t(r)]) expected.push_back(r);
      }
      QCOMPARE(set.Size(), static_cast<int>(plain.size()));
      QCOMPARE(set.Rows(), expected);
      QCOMPARE(set.Count(), static_cast<int>(expected.size()));
      QCOMPARE(set.First(), expected.empty() ? -1 : expected.front());
    }
  }
}

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
