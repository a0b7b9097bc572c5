// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "ListRows.h"
#include "TestFiles.h"
#include "list/Import.h"
#include "list/ListFile.h"
#include "list/ListRowSorter.h"
#include "list/SoundList.h"
#include "platform/Files.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"

class TestList : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }

  void addPathsOneInsertionSharedDirectories();
  void addPathsOnlyExisting();
  void appendRowsSharesDirectories();
  void modelRoles();
  void renameThroughHandler();

  void removeRows_data();
  void removeRows();
  void swapRowsThenSizeSort();

  void sortOrder_data();
  void sortOrder();
  void sortMatchesByteOrder();
  void sortKeepsSelectedFiles();
  void columnSorterMarksAndMessages();

  void listFileRoundTrip();
  void listFileLineEndsAndEncodings_data();
  void listFileLineEndsAndEncodings();
  void listFileNonUtf8Name();
  void listFileAppendAndEmpty();

  void importByDialog();

 private:
  QString MakeFile(const QString& name, int size) {
    const QString path = Dir() + u'/' + name;
    WriteFile(path, QByteArray(size, 'x'));
    return path;
  }
  QString Dir() const { return dir_->path(); }
  std::unique_ptr<QTemporaryDir> dir_;
};

void TestList::addPathsOneInsertionSharedDirectories() {
  SoundList list;
  QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
  const QString a = MakeFile(QStringLiteral("鼓声.wav"), 1536);
  const int added = list.AddPaths(
      {a, a, QStringLiteral("/nowhere/x.mid"), Dir() + QStringLiteral("/missing.wav")}, false);
  QCOMPARE(added, 4);
  QCOMPARE(inserted.count(), 1);
  // The same file twice gives two identical rows.
  QCOMPARE(list.RowFullPath(0), a);
  QCOMPARE(list.RowFullPath(1), a);
  QCOMPARE(list.RowFileName(0), QStringLiteral("鼓声.wav"));
  QCOMPARE(list.RowDirectory(0), Dir());
  QCOMPARE(list.RowSize(0), 1536);
  QCOMPARE(list.RowSizeText(0), QStringLiteral("1.5 KB"));
  QCOMPARE(list.RowSize(2), -1);
  QCOMPARE(list.RowDirectory(2), QStringLiteral("/nowhere"));
  // Rows of one directory share one text, also when the directories are not adjacent.
  QCOMPARE(list.Row(3).directory.constData(), list.Row(0).directory.constData());

  list.AddRow(QStringLiteral("鼓声.wav"), Dir());
  QCOMPARE(list.RowCount(), 5);
  QCOMPARE(list.RowSize(4), 1536);
  // A file in the root: the full path is the root's empty prefix, "/" and the name.
  list.AddPaths({QStringLiteral("/x.wav")}, false);
  QCOMPARE(list.RowDirectory(5), QString());
  QCOMPARE(list.RowFullPath(5), QStringLiteral("/x.wav"));
}

void TestList::addPathsOnlyExisting() {
  SoundList list;
  const QString a = MakeFile(QStringLiteral("a.wav"), 3);
  QCOMPARE(list.AddPaths({Dir() + QStringLiteral("/gone.wav"), a}, true), 1);
  QCOMPARE(Names(list), QStringList{QStringLiteral("a.wav")});
  QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
  QCOMPARE(list.AddPaths({QStringLiteral("/gone/b.wav")}, true), 0);
  QCOMPARE(inserted.count(), 0);
}

void TestList::appendRowsSharesDirectories() {
  SoundList list;
  list.AddRow(QStringLiteral("a.wav"), QStringLiteral("/d1"));
  QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
  // Directory texts made one by one, as a scan makes them.
  const auto row = [](const char* name, int dir) {
    return SoundRow{QString::fromLatin1(name), QStringLiteral("/d%1").arg(dir), 7, QString()};
  };
  list.AppendRows({row("b.wav", 1), row("c.wav", 2), row("d.wav", 1), row("e.wav", 2)});
  list.AppendRows({});
  QCOMPARE(Names(list), (QStringList{"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"}));
  QCOMPARE(inserted.count(), 1);
  QCOMPARE(inserted[0][1].toInt(), 1);
  QCOMPARE(inserted[0][2].toInt(), 4);
  QCOMPARE(list.RowSize(3), 7);
  QCOMPARE(list.RowDirectory(4), QStringLiteral("/d2"));
  const auto text = [&list](int r) { return list.Row(r).directory.constData(); };
  QCOMPARE(text(1), text(0));  // with the row before the batch
  QCOMPARE(text(3), text(0));
  QCOMPARE(text(4), text(2));
  QVERIFY(text(2) != text(0));
}

void TestList::modelRoles() {
  SoundList list;
  list.AddPaths({MakeFile(QStringLiteral("n.wav"), 900)}, false);
  list.SetRowIcon(QStringLiteral("icon"));
  const auto at = [&list](int c) { return list.index(0, c); };
  QCOMPARE(list.columnCount(), 3);
  QCOMPARE(list.headerData(0, Qt::Horizontal).toString(), QStringLiteral("文件名"));
  QCOMPARE(list.headerData(1, Qt::Horizontal).toString(), QStringLiteral("大小"));
  QCOMPARE(list.headerData(2, Qt::Horizontal).toString(), QStringLiteral("目录"));
  QCOMPARE(at(1).data().toString(), QStringLiteral("900 B"));
  QCOMPARE(at(1).data(SoundList::kRawValueRole).toLongLong(), 900);
  QCOMPARE(at(1).data(SoundList::kRawValueRole).userType(), QMetaType::LongLong);
  QCOMPARE(at(2).data(SoundList::kRawValueRole).toString(), Dir());
  QCOMPARE(at(0).data(Qt::DecorationRole).toString(), QStringLiteral("icon"));
  QVERIFY(!at(1).data(Qt::DecorationRole).isValid());
  QVERIFY(list.flags(at(0)) & Qt::ItemIsEditable);
  QVERIFY(!(list.flags(at(1)) & Qt::ItemIsEditable));
  list.SetRowSizeText(0, QStringLiteral("?"));
  QCOMPARE(at(1).data().toString(), QStringLiteral("?"));
  QCOMPARE(list.RowSize(0), 900);
}

void TestList::renameThroughHandler() {
  SoundList list;
  Fill(list, 2);
  QVERIFY(!list.setData(list.index(0, 0), QStringLiteral("x.wav")));  // no handler
  QList<QPair<int, QString>> calls;
  bool accept = false;
  list.SetRenameHandler([&](int row, const QString& text) {
    calls.append({row, text});
    return accept;
  });
  QVERIFY(!list.setData(list.index(1, 0), QStringLiteral("x.wav")));
  QCOMPARE(list.RowFileName(1), QStringLiteral("b.wav"));
  accept = true;
  QVERIFY(list.setData(list.index(1, 0), QStringLiteral("y.wav")));
  QCOMPARE(list.RowFileName(1), QStringLiteral("y.wav"));
  QVERIFY(!list.setData(list.index(1, 2), QStringLiteral("z")));
  QCOMPARE(calls.size(), 2);
  QCOMPARE(calls[1], qMakePair(1, QStringLiteral("y.wav")));
}

void TestList::removeRows_data() {
  QTest::addColumn<int>("rows");
  QTest::addColumn<QList<int>>("remove");
  QTest::addColumn<QList<int>>("selectBefore");
  QTest::addColumn<int>("expectedRemovals");  // -1: one model reset

  QTest::newRow("runs from the last")
      << 10 << QList<int>{7, 2, 5, 6, 2, 42, -1} << QList<int>{1, 5, 8} << 2;
  QTest::newRow("nothing valid") << 3 << QList<int>{3, -1} << QList<int>{0} << 0;
  QList<int> odd;
  for (int r = 1; r < 100; r += 2) odd << r;
  QTest::newRow("scattered") << 100 << odd << QList<int>{0, 1, 2, 3, 50, 98, 99} << -1;
}

void TestList::removeRows() {
  QFETCH(int, rows);
  QFETCH(QList<int>, remove);
  QFETCH(QList<int>, selectBefore);
  QFETCH(int, expectedRemovals);
  SoundList list;
  QStringList paths;
  for (int i = 0; i < rows; ++i) paths << QStringLiteral("d/%1.wav").arg(i);
  list.AddPaths(paths, false);
  for (int r : selectBefore) list.Selection().SelectRow(r);
  // The view's current index on the first selected row, which every case keeps.
  QItemSelectionModel& model = *list.Selection().SelectionModel();
  model.setCurrentIndex(list.index(selectBefore.first(), 1), QItemSelectionModel::NoUpdate);
  QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
  QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
  list.RemoveRows(std::vector<int>(remove.begin(), remove.end()));

  QStringList names;
  QList<int> selected;
  for (int r = 0; r < rows; ++r) {
    if (remove.contains(r)) continue;
    if (selectBefore.contains(r)) selected << static_cast<int>(names.size());
    names << QStringLiteral("%1.wav").arg(r);
  }
  QCOMPARE(Names(list), names);
  QCOMPARE(Selected(list), selected);
  QCOMPARE(model.currentIndex(), list.index(selected.first(), 1));
  QCOMPARE(removed.count(), std::max(expectedRemovals, 0));
  QCOMPARE(reset.count(), expectedRemovals < 0 ? 1 : 0);
}

void TestList::swapRowsThenSizeSort() {
  SoundList list;
  QStringList paths;
  for (int i = 0; i < 5; ++i) paths << MakeFile(QStringLiteral("%1.wav").arg(i), 10 * i);
  list.AddPaths(paths, false);
  list.SetRowSizeText(4, QStringLiteral("forty"));
  list.Selection().SelectOnly(0);  // also the view's current index
  const QPersistentModelIndex held(list.index(4, SoundList::kDirectoryColumn));
  list.SwapRows(0, 4);
  QCOMPARE(list.RowFileName(0), QStringLiteral("4.wav"));
  QCOMPARE(list.RowSize(0), 40);
  QCOMPARE(list.RowSizeText(0), QStringLiteral("forty"));
  QCOMPARE(list.RowFileName(4), QStringLiteral("0.wav"));
  QCOMPARE(list.RowSize(4), 0);
  QCOMPARE(Selected(list), QList<int>{0});  // the selection stays on the position
  // Other indices kept on the rows move with them.
  const QModelIndex current = list.Selection().SelectionModel()->currentIndex();
  QCOMPARE(current, list.index(4, SoundList::kNameColumn));
  QCOMPARE(QModelIndex(held), list.index(0, SoundList::kDirectoryColumn));
  ListRowSorter().SortRows(list, ListRowSorter::kByValue, 1, true);
  QCOMPARE(Names(list), (QStringList{"0.wav", "1.wav", "2.wav", "3.wav", "4.wav"}));
}

void TestList::sortOrder_data() {
  QTest::addColumn<QStringList>("names");  // "name" or "name|size"
  QTest::addColumn<int>("kind");
  QTest::addColumn<bool>("ascending");
  QTest::addColumn<QList<int>>("order");

  const QStringList equalNames{"b.wav", "a.wav", "b.wav", "a.wav", "b.wav"};
  QTest::newRow("equal names ascending stable")
      << equalNames << int(ListRowSorter::kByText) << true << QList<int>{1, 3, 0, 2, 4};
  QTest::newRow("equal names descending reversed")
      << equalNames << int(ListRowSorter::kByText) << false << QList<int>{4, 2, 0, 3, 1};
  QTest::newRow("capitals before small letters")
      << QStringList{"apple.wav", "Zoo.wav"} << int(ListRowSorter::kByText) << true
      << QList<int>{1, 0};
  QTest::newRow("no numeric awareness")
      << QStringList{"2.wav", "10.wav", "Ab.wav"} << int(ListRowSorter::kByText) << true
      << QList<int>{1, 0, 2};
  // GBK order 啊 B0A1 < 吧 B0C9 < 中 D6D0; in code point order it is the reverse.
  QTest::newRow("Chinese in GBK order")
      << QStringList{"中.wav", "吧.wav", "z.wav", "啊.wav", ""} << int(ListRowSorter::kByText)
      << true << QList<int>{4, 2, 3, 1, 0};
  const QStringList sized{"a|1536", "b|900", "c|-1", "d|900", "e|0"};
  QTest::newRow("size ascending by bytes not text")
      << sized << int(ListRowSorter::kByValue) << true << QList<int>{2, 4, 1, 3, 0};
  QTest::newRow("size descending equal reversed")
      << sized << int(ListRowSorter::kByValue) << false << QList<int>{0, 3, 1, 4, 2};
  QTest::newRow("empty list") << QStringList{} << int(ListRowSorter::kByText) << true
                              << QList<int>{};
}

void TestList::sortOrder() {
  QFETCH(QStringList, names);
  QFETCH(int, kind);
  QFETCH(bool, ascending);
  QFETCH(QList<int>, order);
  SoundList list;
  for (int i = 0; i < names.size(); ++i) {
    const QStringList p = names[i].split(u'|');
    // The directory records the original position.
    list.AddPaths({QStringLiteral("/r%1/").arg(i) + p[0]}, false);
    if (p.size() > 1) {
      // A size of our own: a file of that length, or none for -1.
      const int size = p[1].toInt();
      const QString file = size < 0 ? QStringLiteral("/none/x") : MakeFile(p[0], size);
      list.RemoveRow(i);
      list.AddPaths({file}, false);
      list.SetRowDirectory(i, QStringLiteral("/r%1").arg(i));
    }
  }
  const auto k = static_cast<ListRowSorter::KeyKind>(kind);
  const std::vector<int> sorted = ListRowSorter::SortedOrder(list, k, 0, ascending);
  QCOMPARE(QList<int>(sorted.begin(), sorted.end()), order);
  ListRowSorter().SortRows(list, k, 0, ascending);
  for (int i = 0; i < order.size(); ++i) {
    QCOMPARE(list.RowDirectory(i), QStringLiteral("/r%1").arg(order[i]));
  }
}

// Many equal names, long common starts, GBK bytes beside UTF-8, texts shared by rows or not:
// the stable NameSortBytes order.
void TestList::sortMatchesByteOrder() {
  const QByteArray pieces[] = {"a", "ab", "\xE5\x95\x8A", "\xB0\xA1", "\xB0", "A", "_0"};
  QRandomGenerator random(3);
  std::vector<SoundRow> rows;
  for (int i = 0; i < 3000; ++i) {
    QByteArray name;
    for (int n = random.bounded(1, 9); n > 0; --n) name += pieces[random.bounded(7)];
    const QString text = i % 10 == 9 ? rows.back().fileName : FromNativePath(name);
    rows.push_back({text, FromNativePath("/" + pieces[random.bounded(7)]), 0, {}});
  }
  SoundList list;
  list.AppendRows(std::move(rows));  // rows of one directory share its text
  for (const int column : {0, 2}) {
    std::vector<std::pair<QByteArray, int>> keyed;
    for (int r = 0; r < 3000; ++r)
      keyed.push_back({NameSortBytes(column ? list.RowDirectory(r) : list.RowFileName(r)), r});
    std::sort(keyed.begin(), keyed.end());  // equal bytes by row: the stable order
    const auto sorted = ListRowSorter::SortedOrder(list, ListRowSorter::kByText, column, true);
    for (int i = 0; i < 3000; ++i) QCOMPARE(sorted[size_t(i)], keyed[size_t(i)].second);
  }
}

void TestList::sortKeepsSelectedFiles() {
  SoundList list;
  Fill(list, 8);
  list.ApplyOrder({7, 6, 5, 4, 3, 2, 1, 0});  // h g f e d c b a
  RowSelection& selection = list.Selection();
  selection.SelectRow(1);
  selection.SelectRow(4);
  selection.SelectRow(6);  // g, d, b
  selection.SelectionModel()->setCurrentIndex(list.index(4, 0), QItemSelectionModel::NoUpdate);
  QSignalSpy changed(&selection, &RowSelection::currentRowChanged);
  ColumnSorter sorter;
  sorter.SortByColumn(list, 0, [](const QString&) {});
  QCOMPARE(Names(list).join(u' '),
           QStringLiteral("a.wav b.wav c.wav d.wav e.wav f.wav g.wav h.wav"));
  QCOMPARE(Selected(list), (QList<int>{1, 3, 6}));
  QCOMPARE(selection.SelectionModel()->currentIndex().row(), 3);  // d stays the view's current row
  QCOMPARE(changed.count(), 0);                                   // a sort plays nothing
  QCOMPARE(selection.CountText(selection.CurrentRow()), QStringLiteral("2/8"));
}

void TestList::columnSorterMarksAndMessages() {
  SoundList list;
  Fill(list, 3);
  QStringList said;
  const auto say = [&said](const QString& text) { said << text; };
  ColumnSorter sorter;
  const auto headers = [&list, &sorter] {
    QStringList h;
    for (int c = 0; c < 3; ++c) h << list.headerData(c, Qt::Horizontal).toString() + sorter.Mark(c);
    return h;
  };
  QCOMPARE(headers(), (QStringList{"文件名", "大小", "目录"}));

  sorter.SortByColumn(list, 0, say);
  QVERIFY(sorter.Ascending());
  QCOMPARE(headers(), (QStringList{"文件名 ∴", "大小", "目录"}));
  QCOMPARE(said.count(), 2);
  QCOMPARE(said[0], QStringLiteral("正在排序...按文本"));
  QVERIFY(said[1].startsWith(QStringLiteral("按文本排序完成，")));
  QVERIFY(said[1].endsWith(QStringLiteral(" 毫秒")));

  sorter.SortByColumn(list, 0, say);
  QCOMPARE(headers(), (QStringList{"文件名 ∵", "大小", "目录"}));
  QCOMPARE(Names(list).first(), QStringLiteral("c.wav"));

  said.clear();
  sorter.SortByColumn(list, 1, say);  // the direction alternates across columns
  QVERIFY(sorter.Ascending());
  QCOMPARE(headers(), (QStringList{"文件名", "大小 ∴", "目录"}));
  QCOMPARE(said[0], QStringLiteral("正在排序...按尺寸"));
  QVERIFY(said[1].startsWith(QStringLiteral("按尺寸排序完成，")));

  sorter.SortByColumn(list, 2, say);
  QCOMPARE(headers(), (QStringList{"文件名", "大小", "目录 ∵"}));
}

void TestList::listFileRoundTrip() {
  SoundList list;
  const QString a = MakeFile(QStringLiteral("声音 一.wav"), 5);
  const QString b = MakeFile(QStringLiteral("b.mid"), 7);
  const QString c = MakeFile(QStringLiteral("c.mp3"), 9);
  list.AddPaths({a, b, c, Dir() + QStringLiteral("/never.wav")}, false);
  const QString listPath = Dir() + QStringLiteral("/Plinkbox·音频列表.ini");
  QVERIFY(SaveListFile(list, listPath));
  QCOMPARE(ReadFile(listPath),
           (a + u'\n' + b + u'\n' + c + u'\n' + Dir() + QStringLiteral("/never.wav\n")).toUtf8());

  QVERIFY(Files::Delete(b));
  SoundList loaded;
  QSignalSpy inserted(&loaded, &QAbstractItemModel::rowsInserted);
  QCOMPARE(LoadListFile(loaded, listPath, false), 2);
  QCOMPARE(inserted.count(), 1);
  QCOMPARE(loaded.RowFullPath(0), a);
  QCOMPARE(loaded.RowFullPath(1), c);
  QCOMPARE(loaded.RowSize(1), 9);
  QVERIFY(SaveListFile(loaded, listPath));
  QCOMPARE(ReadFile(listPath), (a + u'\n' + c + u'\n').toUtf8());
  QCOMPARE(QDir(Dir()).entryList(QDir::Files).size(), 3);  // no temporary file left
}

void TestList::listFileLineEndsAndEncodings_data() {
  QTest::addColumn<QByteArray>("content");  // %1 stands for the directory
  QTest::addColumn<QStringList>("names");
  QTest::newRow("crlf and blank lines")
      << QByteArray("%1/x.wav\r\n\r\n\n%1/y.wav\r\n") << QStringList{"x.wav", "y.wav"};
  QTest::newRow("no final line end")
      << QByteArray("%1/x.wav\n%1/y.wav") << QStringList{"x.wav", "y.wav"};
  QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF%1/\xE5\x95\x8A\xE4\xB8\xAD.wav\n")
                                  << QStringList{"啊中.wav"};
  QTest::newRow("gbk") << QByteArray("%1/\xB0\xA1\xD6\xD0.wav\r\n%1/x.wav\r\n")
                       << QStringList{"啊中.wav", "x.wav"};
}

void TestList::listFileLineEndsAndEncodings() {
  QFETCH(QByteArray, content);
  QFETCH(QStringList, names);
  MakeFile(QStringLiteral("x.wav"), 1);
  MakeFile(QStringLiteral("y.wav"), 1);
  MakeFile(QStringLiteral("啊中.wav"), 1);
  const QString listPath = Dir() + QStringLiteral("/list.ini");
  WriteFile(listPath, content.replace("%1", Dir().toUtf8()));
  SoundList list;
  QCOMPARE(LoadListFile(list, listPath, false), names.size());
  QCOMPARE(Names(list), names);
  QCOMPARE(list.RowDirectory(0), Dir());
}

void TestList::listFileNonUtf8Name() {
  const QString plain = MakeFile(QStringLiteral("plain.wav"), 2);
  const QString odd = Dir() + u'/' + FromNativePath("\xFF\xFE-\xB0\xA1.wav");
  QVERIFY(Files::Move(plain, odd));
  const QString utf = MakeFile(QStringLiteral("中.wav"), 3);
  SoundList list;
  list.AddPaths({odd, utf}, true);
  const QString listPath = Dir() + QStringLiteral("/list.ini");
  QVERIFY(SaveListFile(list, listPath));
  QCOMPARE(ReadFile(listPath), ToNativePath(odd) + '\n' + utf.toUtf8() + '\n');
  SoundList loaded;
  QCOMPARE(LoadListFile(loaded, listPath, false), 2);
  QCOMPARE(loaded.RowFullPath(0), odd);
  QCOMPARE(loaded.RowFullPath(1), utf);
  QVERIFY(Files::Delete(odd));  // the temporary directory's clean-up knows only UTF-8 names
}

void TestList::listFileAppendAndEmpty() {
  const QString listPath = Dir() + QStringLiteral("/list.ini");
  SoundList list;
  QVERIFY(SaveListFile(list, listPath));
  QCOMPARE(ReadFile(listPath), QByteArray());
  QVERIFY(QFile::exists(listPath));
  QCOMPARE(LoadListFile(list, listPath, false), 0);
  QCOMPARE(list.Selection().CountText(list.Selection().CurrentRow()), QStringLiteral("0/0"));
  QCOMPARE(LoadListFile(list, Dir() + QStringLiteral("/absent.ini"), true), 0);

  const QString a = MakeFile(QStringLiteral("a.wav"), 1);
  list.AddPaths({a}, false);
  QVERIFY(SaveListFile(list, listPath));
  list.AddRow(QStringLiteral("by hand.wav"), QStringLiteral("/x"));
  QCOMPARE(LoadListFile(list, listPath, false), 1);
  QCOMPARE(Names(list), (QStringList{"a.wav", "by hand.wav", "a.wav"}));
  QCOMPARE(LoadListFile(list, listPath, true), 1);
  QCOMPARE(Names(list), QStringList{"a.wav"});
  // A list file that cannot be written reports failure and leaves nothing behind.
  QVERIFY(!SaveListFile(list, Dir() + QStringLiteral("/no/such/dir/list.ini")));
}

void TestList::importByDialog() {
  SoundList list;
  QString lastImportFile = QStringLiteral("/last/one.wav");
  auto owned = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs* dialogs = owned.get();
  auto previous = InstallDialogs(std::move(owned));

  ImportByDialog(list, lastImportFile);  // cancelled
  QCOMPARE(list.RowCount(), 0);
  QCOMPARE(lastImportFile, QStringLiteral("/last/one.wav"));
  QCOMPARE(dialogs->prompts.size(), 1);
  const ScriptedDialogs::Prompt prompt = dialogs->prompts.first();
  QCOMPARE(prompt.kind, ScriptedDialogs::Prompt::kOpenFiles);
  QCOMPARE(prompt.text, QStringLiteral("选择多个短音文件："));
  QCOMPARE(prompt.title, QStringLiteral("/last/one.wav"));
  QCOMPARE(
      prompt.filter,
      QStringLiteral("Wav波形和Mid序列|*.wav;*.mid|Wav波形、Mid序列和mp3音频|*.wav;*.mid;*.mp3|"
                     "Wav波形|*.wav|Mid序列|*.mid|Mp3音频|*.mp3|所有文件|*.*|"
                     "所有声音文件|*.wav;*.mid;*.mp3;*.flac;*.ogg;*.oga;*.opus;*.aif;*.aiff;"
                     "*.aifc;*.au;*.snd;*.rmi;*.midi;*.w64;*.rf64"));

  const QString a = MakeFile(QStringLiteral("a.wav"), 4);
  dialogs->QueueOpenFiles({QStringLiteral("/gone/z.mid"), a, a});
  ImportByDialog(list, lastImportFile);
  QCOMPARE(list.RowCount(), 3);
  QCOMPARE(list.RowSize(0), -1);
  QCOMPARE(list.RowFullPath(2), a);
  QCOMPARE(lastImportFile, QStringLiteral("/gone/z.mid"));
  InstallDialogs(std::move(previous));
}

QTEST_GUILESS_MAIN(TestList)
#include "tst_list.moc"
