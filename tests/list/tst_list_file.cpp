// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "list/ListFile.h"
#include "list/SoundList.h"
#include "platform/Files.h"
#include "platform/NativePath.h"

// List-file lines that one path per line would cut, shorten or misplace.
class TestListFile : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void namesThatCannotStandOnALine();
  void relativeLinesBesideTheListFile();
  void listOverManyBlocks_data();
  void listOverManyBlocks();

 private:
  QString Make(const QByteArray& name) {
    WriteNative(native_ + '/' + name, name);
    return FromNativePath(native_ + '/' + name);
  }
  QTemporaryDir dir_;
  QByteArray native_ = QFile::encodeName(dir_.path());
};

void TestListFile::namesThatCannotStandOnALine() {
  // "victim.wav" is what the name ending in CR would become on a plain line.
  const QList<QByteArray> names{"victim.wav",    "victim.wav\r", "two\nlines.wav",
                                "\xFF%\r\n.wav", "a\rb.wav",     "\xEF\xBB\xBF.wav"};
  QStringList paths;
  for (const QByteArray& name : names) paths << Make(name);
  SoundList list;
  QCOMPARE(list.AddPaths(paths, true), 6);
  const QString listPath = dir_.filePath("list.ini");
  QVERIFY(SaveListFile(list, listPath));
  const QByteArray url = "file://" + native_.toPercentEncoding("/");
  QCOMPARE(ReadFile(listPath), native_ + "/victim.wav\n" + url + "/victim.wav%0D\n" + url +
                                   "/two%0Alines.wav\n" + url + "/%FF%25%0D%0A.wav\n" + native_ +
                                   "/a\rb.wav\n" + native_ + "/\xEF\xBB\xBF.wav\n");
  SoundList loaded;
  QCOMPARE(LoadListFile(loaded, listPath, false), 6);
  for (int row = 0; row < 6; ++row) QCOMPARE(loaded.RowFullPath(row), paths[row]);
  for (const QByteArray& name : names) ::unlink((native_ + '/' + name).constData());
}

void TestListFile::relativeLinesBesideTheListFile() {
  QVERIFY(QDir(dir_.path()).mkpath("lists/deeper"));
  QVERIFY(QDir(dir_.path()).mkpath("cwd/lists"));
  const QStringList paths{Make("lists/a.wav"), Make("lists/deeper/b.wav"), Make("c.wav"),
                          Make("lists/\xE5\x95\x8A.wav"), Make("lists/\xEF\xBB\xBF.wav")};
  Make("cwd/lists/a.wav");  // the same name under the working directory is not taken
  const QString listPath = dir_.filePath("lists/list.ini");
  // GBK, so each line is also tried as GBK.
  WriteFile(listPath, "a.wav\r\n./deeper/b.wav\n../c.wav\n\xB0\xA1.wav\nmissing.wav\n");
  const QString previous = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir_.filePath("cwd/lists")));
  SoundList list;
  const int added = LoadListFile(list, listPath, false);
  QVERIFY(QDir::setCurrent(previous));
  QCOMPARE(added, 4);
  for (int row = 0; row < 4; ++row) QCOMPARE(list.RowFullPath(row), paths[row]);

  // UTF-8 with a BOM: only the file's own BOM is dropped, not a name's leading U+FEFF.
  WriteFile(listPath,
            "\xEF\xBB\xBF"
            "a.wav\n\xEF\xBB\xBF.wav\n");
  SoundList utf8;
  QCOMPARE(LoadListFile(utf8, listPath, false), 2);
  QCOMPARE(utf8.RowFullPath(0), paths[0]);
  QCOMPARE(utf8.RowFullPath(1), paths[4]);
}

void TestListFile::listOverManyBlocks_data() {
  QTest::addColumn<QByteArray>("name");  // of a file in d2: whether the list is UTF-8
  QTest::addColumn<QByteArray>("tail");  // after the last line break
  QTest::newRow("utf-8") << QByteArray("\xE5\xA3\xB0.wav") << QByteArray();
  QTest::newRow("not utf-8") << QByteArray("\xC9\xF9.wav") << QByteArray();
  // Only the unfinished last line, GBK for "啊.wav", makes the file GBK.
  QTest::newRow("gbk in the last line")
      << QByteArray("\xE5\xA3\xB0.wav") << QByteArray("\xB0\xA1.wav");
}

// A list longer than the blocks it is read, looked up and written in: every line whole, across
// block boundaries, directory after directory, each row with its own file's size, in the order
// of the lines; a relative line between blocks keeps its place; rows of a missing directory or
// file are dropped.
void TestListFile::listOverManyBlocks() {
  QFETCH(QByteArray, name);
  QFETCH(QByteArray, tail);
  QVERIFY(QDir(dir_.path()).mkpath("d1") && QDir(dir_.path()).mkpath("d2"));
  const QStringList files{Make("d1/a.wav"), Make("d2/" + name), Make("d1/b c.wav")};
  const QString gone = dir_.filePath("gone/x.wav");
  QStringList paths;
  QByteArray expected;
  for (int i = 0; i < 100000; ++i) {
    const QString& path = i % 7 == 6 ? gone : files[i % 3];
    paths << path;
    if (path != gone) expected += ToNativePath(path) + '\n';
  }
  SoundList list;
  list.AddPaths(paths, true);
  const QString listPath = dir_.filePath("long.ini");
  QVERIFY(SaveListFile(list, listPath));
  QVERIFY(expected.size() > 2 << 20);
  QCOMPARE(ReadFile(listPath), expected);

  QStringList want;
  for (int row = 0; row < list.RowCount(); ++row) want << list.RowFullPath(row);
  const qsizetype half = expected.indexOf('\n', expected.size() / 2) + 1;
  want.insert(expected.left(half).count('\n'), files[0]);
  if (!tail.isEmpty()) want << Make("\xE5\x95\x8A.wav");
  WriteFile(listPath, expected.left(half) + "d1/a.wav\n" + expected.mid(half) + ToNativePath(gone) +
                          '\n' + tail);
  SoundList loaded;
  QCOMPARE(LoadListFile(loaded, listPath, false), want.size());
  QHash<QString, qint64> sizes;
  for (int row = 0; row < loaded.RowCount(); ++row) {
    QCOMPARE(loaded.RowFullPath(row), want[row]);
    if (!sizes.contains(want[row])) sizes.insert(want[row], Files::Size(want[row]));
    QCOMPARE(loaded.RowSize(row), sizes[want[row]]);
  }
  ::unlink((native_ + "/d2/" + name).constData());  // the clean-up knows only UTF-8 names
}

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_list_file.moc"
