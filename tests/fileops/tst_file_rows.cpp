// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The row commands around the file operations: copy names and paths, guard and stop, remove
// all, the in-place rename and dropped files.
#include <QClipboard>
#include <QMimeData>
#include <QUrl>

#include "FileOpsEnv.h"
#include "Iconv.h"

class TestFileRows : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void copyNamesAndPaths();
  void gbkNamesKeepTheirBytes();
  void secondJobFromEventsDoesNothing();
  void stopKeepsWhatIsDone();
  void removeAll_data();
  void removeAll();
  void renameRowFile_data();
  void renameRowFile();
  void dropped();
  void noFileManagerSaysSo();
};

void TestFileRows::copyNamesAndPaths() {
  Env env;
  for (const char* name : {"a.wav", "b.wav", "c.wav", "鼓.wav"}) env.Row(name);
  env.Select({3, 0, 2});
  env.ops.RunFileOperation(Command::kCopyNames);
  QCOMPARE(ClipboardText(), QStringLiteral("a.wav\nc.wav\n鼓.wav"));
  env.ops.RunFileOperation(Command::kCopyPaths);
  QCOMPARE(ClipboardText(),
           QStringList({env.Path("a.wav"), env.Path("c.wav"), env.Path("鼓.wav")}).join(u'\n'));
  QCOMPARE(env.list.RowCount(), 4);
}

// A GBK name reaches the clipboard as the list shows it and as a URL of its bytes; that URL,
// dropped, makes a row naming the file.
void TestFileRows::gbkNamesKeepTheirBytes() {
  Env env;
  const QString gbk = FromNativePath(EncodeAs("GBK", "鼓#%.wav"));
  env.File(gbk, "drum");
  env.Row(gbk);
  env.Select({0});
  const QStringList before = env.Inventory();
  env.ops.RunFileOperation(Command::kCopyNames);
  QCOMPARE(ClipboardText(), QStringLiteral("鼓#%.wav"));
  env.ops.RunFileOperation(Command::kCopyPaths);
  QCOMPARE(ClipboardText(), env.Path("鼓#%.wav"));
  const QByteArray uris = QGuiApplication::clipboard()->mimeData()->data("text/uri-list");
  QVERIFY2(uris.startsWith("file:///") && uris.endsWith("/%B9%C4%23%25.wav\r\n"), uris);

  env.ops.AddDroppedFiles({PathFromFileUrl(QUrl(QString::fromLatin1(uris.trimmed())))});
  QCOMPARE(ToNativePath(env.list.RowFullPath(1)), ToNativePath(env.Path(gbk)));
  QCOMPARE(env.list.RowSize(1), 4);
  QCOMPARE(env.Inventory(), before);
}

// Commands started from within a job's event processing (here: its first status message) do
// nothing, even with every question answered OK.
void TestFileRows::secondJobFromEventsDoesNothing() {
  Env env;
  for (const char* name : {"0.wav", "1.wav", "2.wav"}) {
    env.File(name, name);
    env.Row(name);
  }
  env.Select({0});
  for (int i = 0; i < 3; ++i) env.dialogs->QueueMessageAnswer(0);
  env.duringRun = [&env] {
    env.ops.RunFileOperation(Command::kDelete);
    env.ops.RemoveAllRows();
    QVERIFY(!env.ops.RenameRowFile(1, "z.wav"));
    env.ops.AddDroppedFiles({env.Path("0.wav")});
  };
  const QStringList before = env.Inventory();
  env.ops.RunFileOperation(Command::kRemoveRows);
  QCOMPARE(env.Inventory(), before);
  QCOMPARE(env.Rows(), QStringList({"1.wav", "2.wav"}));
  QCOMPARE(env.dialogs->prompts.size(), 0);
}

// A stop (the window closing) after the first moved row: that move stands, its row goes as
// "移动后移除列表" says, the other files stay where they were.
void TestFileRows::stopKeepsWhatIsDone() {
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("t"));
  for (int i = 0; i < 4; ++i) {
    env.File(QStringLiteral("a/%1.wav").arg(i), QByteArray::number(i));
    env.Row(QStringLiteral("a/%1.wav").arg(i));
  }
  env.list.Selection().ChangeSelection(1);
  env.options.move.removeAfterMove.Set(true);
  env.dialogs->QueueFolder(env.Path("t"));
  QObject::connect(&env.list, &SoundList::dataChanged, [] { LongJobGuard::RequestStop(); });
  const QStringList before = env.Inventory();
  env.ops.RunFileOperation(Command::kMove);
  QCOMPARE(env.Inventory(), Env::Expect(before, {"a/3.wav>t/3.wav"}));
  QCOMPARE(env.Rows(), QStringList({"a/0.wav", "a/1.wav", "a/2.wav"}));
  QVERIFY(!LongJobGuard::StopRequested());
}

void TestFileRows::removeAll_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<int>("rowsAfter");
  QTest::newRow("ok") << 0 << 0;
  QTest::newRow("cancel") << 1 << 2;
}

void TestFileRows::removeAll() {
  QFETCH(int, answer);
  Env env;
  for (const char* name : {"0.wav", "1.wav"}) {
    env.File(name, name);
    env.Row(name);
  }
  env.dialogs->QueueMessageAnswer(answer);
  const QStringList before = env.Inventory();
  env.ops.RemoveAllRows();
  QCOMPARE(env.dialogs->prompts.value(0).text, QStringLiteral("确定要全部移除（非物理删除）吗？"));
  QCOMPARE(env.dialogs->prompts.value(0).buttons, 1);
  QTEST(env.list.RowCount(), "rowsAfter");
  QCOMPARE(env.Inventory(), before);
}

void TestFileRows::renameRowFile_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<QStringList>("changes");
  const QString failed =
      QStringLiteral("文件更名失败！请检查文件名格式是否包含非法字符，或该文件是否可写！");
  QTest::newRow("renamed") << "new.wav" << true << QStringList{"a/old.wav>a/new.wav"};
  QTest::newRow("odd but valid") << " 新 '$(x)'.wav" << true
                                 << QStringList{"a/old.wav>a/ 新 '$(x)'.wav"};
  QTest::newRow("unchanged") << "old.wav" << true << QStringList();
  for (const char* bad : {"", ".", "..", "sub/x.wav", "../x.wav", "taken.wav"})
    QTest::addRow("refused: '%s'", bad) << bad << false << QStringList();
  QTest::newRow("refused: NUL") << QStringLiteral("x%1y.wav").arg(QChar(u'\0')) << false
                                << QStringList();
}

void TestFileRows::renameRowFile() {
  QFETCH(QString, text);
  QFETCH(bool, accepted);
  QFETCH(QStringList, changes);
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("a/sub"));
  env.File("a/old.wav", "old");
  env.File("a/taken.wav", "taken");
  env.Row("a/old.wav");
  env.list.SetRenameHandler(
      [&env](int row, const QString& t) { return env.ops.RenameRowFile(row, t); });
  const QStringList before = env.Inventory();

  QCOMPARE(env.list.setData(env.list.index(0, 0), text), accepted);

  QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  QCOMPARE(env.list.RowFileName(0), accepted ? text : QStringLiteral("old.wav"));
  if (!accepted) {
    QCOMPARE(env.status.Message(),
             QStringLiteral("文件更名失败！请检查文件名格式是否包含非法字符，或该文件是否可写！"));
  } else if (!changes.isEmpty()) {
    QCOMPARE(env.status.Message(), QStringLiteral("文件【old.wav】更名为【") + text + "】");
  } else {
    QCOMPARE(env.status.Message(), QString());
  }
}

void TestFileRows::dropped() {
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("a/d"));
  env.File("a/x.wav", "x");
  env.Row("a/x.wav");
  QSignalSpy scrolled(&env.list.Selection(), &RowSelection::scrollToRowRequested);
  const QStringList before = env.Inventory();

  env.ops.AddDroppedFiles(
      {env.Path("a/d/"), env.Path("a/gone.wav"), QString(), env.Path("a/x.wav")});

  QCOMPARE(env.Rows(), QStringList({"a/x.wav", "a/d", "a/gone.wav", "a/x.wav"}));
  QCOMPARE(env.list.RowFileName(1), QStringLiteral("d"));
  QCOMPARE(env.list.RowDirectory(1), env.Path("a"));
  QCOMPARE(env.list.RowSize(2), -1);
  QCOMPARE(env.list.RowSize(3), 1);
  QCOMPARE(env.status.Count(), QStringLiteral("0/4"));
  QCOMPARE(scrolled.size(), 1);
  QCOMPARE(scrolled[0][0].toInt(), 3);
  QCOMPARE(env.Inventory(), before);
}

// With neither a file manager on the session bus nor xdg-open to start, Enter says so rather
// than doing nothing.
void TestFileRows::noFileManagerSaysSo() {
  Env env;
  env.File("x.wav", "x");
  env.Row("x.wav");
  env.Select({0});
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", ToNativePath(env.Path("no-programs-here")));
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + ToNativePath(env.Path("no-bus")));
  env.ops.ShowCurrentInFileManager();
  qputenv("PATH", path);
  QCOMPARE(env.dialogs->prompts.size(), 1);
  QCOMPARE(env.dialogs->prompts[0].text, QStringLiteral("无法打开文件管理器来定位该文件！"));
}

QTEST_MAIN(TestFileRows)
#include "tst_file_rows.moc"
