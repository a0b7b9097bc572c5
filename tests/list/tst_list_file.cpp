#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "list/ListFile.h"
#include "list/SoundList.h"
#include "platform/NativePath.h"

// List-file lines that one path per line would cut, shorten or misplace.
class TestListFile : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void namesThatCannotStandOnALine();
  void relativeLinesBesideTheListFile();

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
  const QList<QByteArray> names{"victim.wav", "victim.wav\r", "two\nlines.wav",
                                "\xFF%\r\n.wav", "a\rb.wav"};
  QStringList paths;
  for (const QByteArray& name : names) paths << Make(name);
  SoundList list;
  QCOMPARE(list.AddPaths(paths, true), 5);
  const QString listPath = dir_.filePath("list.ini");
  QVERIFY(SaveListFile(list, listPath));
  const QByteArray url = "file://" + native_.toPercentEncoding("/");
  QCOMPARE(ReadFile(listPath), native_ + "/victim.wav\n" + url + "/victim.wav%0D\n" + url +
                                   "/two%0Alines.wav\n" + url + "/%FF%25%0D%0A.wav\n" + native_ +
                                   "/a\rb.wav\n");
  SoundList loaded;
  QCOMPARE(LoadListFile(loaded, listPath, false), 5);
  for (int row = 0; row < 5; ++row) QCOMPARE(loaded.RowFullPath(row), paths[row]);
  for (const QByteArray& name : names) ::unlink((native_ + '/' + name).constData());
}

void TestListFile::relativeLinesBesideTheListFile() {
  QVERIFY(QDir(dir_.path()).mkpath("lists/deeper"));
  QVERIFY(QDir(dir_.path()).mkpath("cwd/lists"));
  const QStringList paths{Make("lists/a.wav"), Make("lists/deeper/b.wav"), Make("c.wav"),
                          Make("lists/\xE5\x95\x8A.wav")};
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
}

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_list_file.moc"
