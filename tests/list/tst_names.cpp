// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Rows whose names are not UTF-8 (GBK names from Windows disks): shown and sorted by what they
// are, while the rows keep their bytes.
#include <QtTest>

#include "Iconv.h"
#include "list/ListRowSorter.h"
#include "list/SoundList.h"
#include "platform/NativePath.h"

namespace {

QString Gbk(const QString& text) { return FromNativePath(EncodeAs("GBK", text)); }

}  // namespace

class TestNames : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void shownDecodedEditedTrue();
  void sortByBytes_data();
  void sortByBytes();
};

void TestNames::shownDecodedEditedTrue() {
  SoundList list;
  list.AddRow(Gbk("鼓.wav"), "/音/" + Gbk("鼓组"));
  const auto at = [&list](int column, int role) { return list.index(0, column).data(role); };
  QCOMPARE(at(SoundList::kNameColumn, Qt::DisplayRole), QStringLiteral("鼓.wav"));
  QCOMPARE(at(SoundList::kDirectoryColumn, Qt::DisplayRole), QStringLiteral("/音/鼓组"));
  QCOMPARE(at(SoundList::kNameColumn, Qt::EditRole), Gbk("鼓.wav"));
  QCOMPARE(at(SoundList::kDirectoryColumn, Qt::EditRole), "/音/" + Gbk("鼓组"));
}

void TestNames::sortByBytes_data() {
  QTest::addColumn<QStringList>("paths");
  QTest::addColumn<int>("column");
  QTest::addColumn<QList<int>>("order");
  // GBK: 啊 B0A1 < 鼓 B9C4 < 说 CBB5 < 中 D6D0; "说" in GBK is also valid UTF-8.
  QTest::newRow("gbk among chinese")
      << QStringList{"/d/中", "/d/" + Gbk("说话"), "/d/" + Gbk("鼓"), "/d/a", "/d/啊"} << 0
      << QList<int>{3, 4, 2, 1, 0};
  // "é" is A8A6 in GB18030; the Latin-1 byte E9 stands for itself.
  QTest::newRow("not gbk") << QStringList{"/d/" + FromNativePath("caf\xe9"), "/d/cafe", "/d/café"}
                           << 0 << QList<int>{1, 2, 0};
  QTest::newRow("directories part by part")
      << QStringList{"/音/中/x", "/音/" + Gbk("鼓") + "/x", "/音/啊/x", "/a/x"} << 2
      << QList<int>{3, 2, 1, 0};
}

void TestNames::sortByBytes() {
  QFETCH(QStringList, paths);
  QFETCH(int, column);
  QFETCH(QList<int>, order);
  SoundList list;
  list.AddPaths(paths, false);
  const std::vector<int> sorted =
      ListRowSorter::SortedOrder(list, ListRowSorter::kByText, column, true);
  QCOMPARE(QList<int>(sorted.begin(), sorted.end()), order);
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
