// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Delete, move, copy and remove on the files behind the selected rows: what changes on disk and
// in the list, with odd names, faults during the run, and the questions asked.
#include "FileOpsEnv.h"

using enum Command;

class TestFileOps : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void operations_data();
  void operations();
  void filesChangingMeanwhile_data();
  void filesChangingMeanwhile();
  void readOnly_data();
  void readOnly();
  void strangeNames_data();
  void strangeNames();
  void questionsAndMessages_data();
  void questionsAndMessages();
};

// Rows a/0.wav ... a/4.wav and b/0.wav; t holds 2.wav, 2_1.wav and a directory 3.wav; e is
// empty. Each row: what is run and answered, then the file changes ("-x" gone, "x>y" moved,
// "x+y" copied) and the rows afterwards.
void TestFileOps::operations_data() {
  QTest::addColumn<Command>("command");
  QTest::addColumn<QList<int>>("selected");
  QTest::addColumn<bool>("smart");
  QTest::addColumn<bool>("removeAfter");
  QTest::addColumn<QString>("answer");  // the folder, or "ok" / "cancel" for the question
  QTest::addColumn<int>("fault");
  QTest::addColumn<QStringList>("changes");
  QTest::addColumn<QStringList>("rows");
  const QStringList all{"a/0.wav", "a/1.wav", "a/2.wav", "a/3.wav", "a/4.wav", "b/0.wav"};
  auto rowsWith = [&all](std::initializer_list<std::pair<int, QString>> edits) {
    QStringList rows = all;
    for (const auto& [row, text] : edits) rows[row] = text;
    rows.removeAll(QString());
    return rows;
  };
  const QStringList none;

  QTest::newRow("delete") << kDelete << QList<int>{1, 3} << false << false << "ok" << 0
                          << QStringList{"-a/1.wav", "-a/3.wav"} << rowsWith({{1, ""}, {3, ""}});
  QTest::newRow("delete cancelled")
      << kDelete << QList<int>{1} << false << false << "cancel" << 0 << none << all;
  QTest::newRow("delete, a file gone meanwhile")
      << kDelete << QList<int>{0, 2} << false << false << "ok" << int(kDeleteFirstSource)
      << QStringList{"-a/0.wav", "-a/2.wav"} << rowsWith({{2, ""}});
  QTest::newRow("move") << kMove << QList<int>{0, 1} << true << false << "t" << 0
                        << QStringList{"a/0.wav>t/0.wav", "a/1.wav>t/1.wav"}
                        << rowsWith({{0, "t/0.wav"}, {1, "t/1.wav"}});
  QTest::newRow("move, remove after")
      << kMove << QList<int>{0, 1} << true << true << "t" << 0
      << QStringList{"a/0.wav>t/0.wav", "a/1.wav>t/1.wav"} << rowsWith({{0, ""}, {1, ""}});
  QTest::newRow("move, clash numbered")
      << kMove << QList<int>{2} << true << false << "t" << 0 << QStringList{"a/2.wav>t/2_2.wav"}
      << rowsWith({{2, "t/2_2.wav"}});
  QTest::newRow("move, clash replaces")
      << kMove << QList<int>{2} << false << false << "t" << 0 << QStringList{"a/2.wav>t/2.wav"}
      << rowsWith({{2, "t/2.wav"}});
  QTest::newRow("move, same names: last row first")
      << kMove << QList<int>{0, 5} << true << false << "t" << 0
      << QStringList{"b/0.wav>t/0.wav", "a/0.wav>t/0_1.wav"}
      << rowsWith({{0, "t/0_1.wav"}, {5, "t/0.wav"}});
  QTest::newRow("move onto a directory fails")
      << kMove << QList<int>{3} << false << true << "t" << 0 << none << all;
  QTest::newRow("move beside a directory")
      << kMove << QList<int>{3} << true << false << "t" << 0 << QStringList{"a/3.wav>t/3_1.wav"}
      << rowsWith({{3, "t/3_1.wav"}});
  for (bool smart : {false, true}) {
    QTest::addRow("move onto itself, smart %d", smart)
        << kMove << QList<int>{2} << smart << false << "a/" << 0 << none << all;
  }
  QTest::newRow("move cancelled") << kMove << QList<int>{2} << false << false << "" << 0 << none
                                  << all;
  QTest::newRow("move, target removed meanwhile")
      << kMove << QList<int>{0, 1} << false << false << "e" << int(kRemoveEmptyTarget)
      << QStringList{"-e/"} << all;
  QTest::newRow("move, a source gone meanwhile")
      << kMove << QList<int>{0, 1} << false << false << "t" << int(kDeleteFirstSource)
      << QStringList{"-a/0.wav", "a/1.wav>t/1.wav"} << rowsWith({{1, "t/1.wav"}});
  QTest::newRow("copy") << kCopy << QList<int>{0, 4} << true << true << "t" << 0
                        << QStringList{"a/0.wav+t/0.wav", "a/4.wav+t/4.wav"} << all;
  QTest::newRow("copy, clash numbered") << kCopy << QList<int>{2} << true << false << "t" << 0
                                        << QStringList{"a/2.wav+t/2_2.wav"} << all;
  QTest::newRow("copy, clash replaces") << kCopy << QList<int>{2} << false << false << "t" << 0
                                        << QStringList{"a/2.wav+t/2.wav"} << all;
  QTest::newRow("copy onto a directory fails")
      << kCopy << QList<int>{3} << false << false << "t" << 0 << none << all;
  QTest::newRow("copy onto itself")
      << kCopy << QList<int>{2} << false << false << "a" << 0 << none << all;
  QTest::newRow("copy onto itself, smart") << kCopy << QList<int>{2} << true << false << "a" << 0
                                           << QStringList{"a/2.wav+a/2_1.wav"} << all;
  QTest::newRow("copy, target removed meanwhile")
      << kCopy << QList<int>{0} << false << false << "e" << int(kRemoveEmptyTarget)
      << QStringList{"-e/"} << all;
  QTest::newRow("remove rows") << kRemoveRows << QList<int>{0, 4, 5} << false << false << "" << 0
                               << none << rowsWith({{0, ""}, {4, ""}, {5, ""}});
}

void TestFileOps::operations() {
  QFETCH(Command, command);
  QFETCH(QList<int>, selected);
  QFETCH(bool, smart);
  QFETCH(bool, removeAfter);
  QFETCH(QString, answer);
  QFETCH(int, fault);
  QFETCH(QStringList, changes);
  QFETCH(QStringList, rows);

  Env env;
  for (const char* d : {"a", "b", "t", "e", "t/3.wav"}) MakeDir(env.Path(d));
  for (int i = 0; i < 5; ++i) env.File(QStringLiteral("a/%1.wav").arg(i), QByteArray::number(i));
  env.File("b/0.wav", "b0");
  env.File("t/2.wav", "old");
  env.File("t/2_1.wav", "old1");
  for (const char* row : {"a/0.wav", "a/1.wav", "a/2.wav", "a/3.wav", "a/4.wav", "b/0.wav"})
    env.Row(row);
  env.Select(selected);
  env.options.move.smartRename.Set(smart);
  env.options.move.removeAfterMove.Set(removeAfter);
  if (command == kDelete) env.dialogs->QueueMessageAnswer(answer == "ok" ? 0 : 1);
  if (command == kMove || command == kCopy)
    env.dialogs->QueueFolder(answer.isEmpty() ? QString() : env.Path(answer));
  env.duringRun = [&] {
    if (fault == kDeleteFirstSource) RemoveTree(ToNativePath(env.list.RowFullPath(selected[0])));
    if (fault == kRemoveEmptyTarget) RemoveTree(ToNativePath(env.Path("e")));
  };
  const QStringList before = env.Inventory();

  env.ops.RunFileOperation(command);

  QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  QCOMPARE(env.Rows(), rows);
}

// a/2.wav is moved or copied to t, which holds 2.wav and 2_1.wav, while the files change: the
// name t/2_2.wav taken as the move starts, a dangling link holding it, or the source touched
// after its copy by a move across file systems.
void TestFileOps::filesChangingMeanwhile_data() {
  QTest::addColumn<Command>("command");
  QTest::addColumn<bool>("smart");
  QTest::addColumn<QString>("meanwhile");
  QTest::addColumn<QStringList>("changes");  // the name taken gets the content of t/2.wav
  QTest::addColumn<QString>("row");
  QTest::newRow("move, name taken")
      << kMove << true << "take" << QStringList{"t/2.wav+t/2_2.wav", "a/2.wav>t/2_3.wav"}
      << "t/2_3.wav";
  QTest::newRow("copy, dangling link")
      << kCopy << true << "link" << QStringList{"a/2.wav+t/2_3.wav"} << "a/2.wav";
  for (bool smart : {false, true}) {
    QTest::addRow("move, source touched, smart %d", smart)
        << kMove << smart << "touch" << QStringList{smart ? "a/2.wav+t/2_2.wav" : "a/2.wav+t/2.wav"}
        << "a/2.wav";
  }
}

void TestFileOps::filesChangingMeanwhile() {
  QFETCH(Command, command);
  QFETCH(bool, smart);
  QFETCH(QString, meanwhile);
  QFETCH(QStringList, changes);
  QFETCH(QString, row);
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("t"));
  env.File("a/2.wav", "2");
  env.File("t/2.wav", "old");
  env.File("t/2_1.wav", "old1");
  env.Row("a/2.wav");
  env.Select({0});
  env.options.move.smartRename.Set(smart);
  env.dialogs->QueueFolder(env.Path("t"));
  if (meanwhile == "link") QCOMPARE(::symlink("nowhere", ToNativePath(env.Path("t/2_2.wav"))), 0);
  const QStringList before = env.Inventory();
  Files::SetMoveSeam(
      [&](Files::MoveStage stage) {
        if (stage == Files::MoveStage::kStart && meanwhile == "take") {
          env.File("t/2_2.wav", "old");
          meanwhile.clear();  // once
        }
        const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
        if (stage == Files::MoveStage::kCopied)
          QCOMPARE(::utimensat(AT_FDCWD, ToNativePath(env.Path("a/2.wav")), times, 0), 0);
      },
      meanwhile == "touch");

  env.ops.RunFileOperation(command);

  QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  QCOMPARE(env.Rows(), QStringList{row});
}

// Permission bits do not stop root, so these run only for an ordinary user.
void TestFileOps::readOnly_data() {
  QTest::addColumn<Command>("command");
  QTest::addColumn<QString>("readOnly");
  QTest::newRow("delete from a read-only directory") << kDelete << "a";
  QTest::newRow("move out of a read-only directory") << kMove << "a";
  QTest::newRow("move into a read-only directory") << kMove << "t";
  QTest::newRow("copy into a read-only directory") << kCopy << "t";
}

void TestFileOps::readOnly() {
  if (Root()) QSKIP("root ignores permission bits");
  QFETCH(Command, command);
  QFETCH(QString, readOnly);
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("t"));
  env.File("a/x.wav", "x");
  env.File("t/x.wav", "old");
  env.Row("a/x.wav");
  env.Select({0});
  env.options.move.smartRename.Set(command == kCopy);
  env.dialogs->QueueMessageAnswer(0);
  env.dialogs->QueueFolder(env.Path("t"));
  QCOMPARE(::chmod(ToNativePath(env.Path(readOnly)).constData(), 0555), 0);
  const QStringList before = env.Inventory();

  env.ops.RunFileOperation(command);

  ::chmod(ToNativePath(env.Path(readOnly)).constData(), 0755);
  QCOMPARE(env.Inventory(), before);
  QCOMPARE(env.Rows(), QStringList{"a/x.wav"});
}

void TestFileOps::strangeNames_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("spaces") << " a  b .wav";
  QTest::newRow("quotes") << "it's \"q\".wav";
  QTest::newRow("command substitution") << "$(touch pwned)`id`.wav";
  QTest::newRow("leading dash") << "-rf .wav";
  QTest::newRow("newline") << "new\nline.wav";
  QTest::newRow("backslash") << "back\\slash.wav";
  QTest::newRow("255 bytes") << QString(251, u'x') + ".wav";
  QTest::newRow("255 bytes, Chinese") << QString(83, u'声') + "xx.wav";
  QTest::newRow("not UTF-8") << FromNativePath("\xff\xfe-\x80.wav");
  QTest::newRow("GBK bytes") << FromNativePath("\xc9\xf9\xd2\xf4.wav");
}

// One file renamed in place to the name, copied, moved, its name copied and deleted; after
// each step only that step's change is on disk.
void TestFileOps::strangeNames() {
  QFETCH(QString, name);
  Env env;
  for (const char* d : {"a", "t", "u"}) MakeDir(env.Path(d));
  env.File("a/plain.wav", "data");
  env.Row("a/plain.wav");
  env.list.SetRenameHandler(
      [&env](int row, const QString& text) { return env.ops.RenameRowFile(row, text); });
  env.options.move.smartRename.Set(true);
  auto step = [&env](Command command, const QString& folder, const QStringList& changes) {
    const QStringList before = env.Inventory();
    env.list.Selection().SelectOnly(0);
    env.dialogs->QueueMessageAnswer(0);
    env.dialogs->QueueFolder(env.Path(folder));
    env.ops.RunFileOperation(command);
    QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  };

  QStringList before = env.Inventory();
  QVERIFY(env.list.setData(env.list.index(0, 0), name));
  QCOMPARE(env.Inventory(), Env::Expect(before, {"a/plain.wav>a/" + name}));
  QCOMPARE(env.list.RowFileName(0), name);
  step(kCopy, "t", {"a/" + name + "+t/" + name});
  step(kMove, "u", {"a/" + name + ">u/" + name});
  QCOMPARE(env.Rows(), QStringList{"u/" + name});
  step(kCopyNames, "", {});
  QCOMPARE(ClipboardText(), DisplayName(name));  // the text as the list shows it
  step(kDelete, "", {"-u/" + name});
  QCOMPARE(env.list.RowCount(), 0);
}

void TestFileOps::questionsAndMessages_data() {
  QTest::addColumn<Command>("command");
  QTest::addColumn<bool>("select");
  QTest::addColumn<bool>("answer");  // OK or a folder; else Cancel or no folder
  QTest::addColumn<QString>("prompt");
  QTest::addColumn<QString>("result");  // the final status message without the elapsed time
  QTest::addColumn<QString>("count");
  const QString noRows = QStringLiteral("请先选择要操作的列表！");
  const std::pair<const char*, Command> all[] = {{"delete", kDelete},   {"move", kMove},
                                                 {"copy", kCopy},       {"remove", kRemoveRows},
                                                 {"names", kCopyNames}, {"paths", kCopyPaths}};
  for (const auto& [name, command] : all)
    QTest::addRow("no selection, %s", name) << command << false << true << noRows << ""
                                            << "";
  QTest::newRow("delete") << kDelete << true << true << "确定要删除选定的 2 个文件吗？"
                          << "已经删除,2 个文件,耗时 "
                          << "0/1";
  QTest::newRow("delete cancelled") << kDelete << true << false << "确定要删除选定的 2 个文件吗？"
                                    << ""
                                    << "";
  QTest::newRow("move") << kMove << true << true << "将选定的 2 个文件移动到的目录："
                        << "已经移动,2 个文件,耗时 "
                        << "1/3";
  QTest::newRow("move cancelled") << kMove << true << false << "将选定的 2 个文件移动到的目录："
                                  << ""
                                  << "";
  QTest::newRow("copy") << kCopy << true << true << "将选定的 2 个文件复制到的目录："
                        << "已经复制,2 个文件,耗时 "
                        << "1/3";
  QTest::newRow("remove") << kRemoveRows << true << true << ""
                          << "已经移除（非物理删除）,2 个文件,耗时 "
                          << "0/1";
  QTest::newRow("names") << kCopyNames << true << true << ""
                         << "已经复制文件名（每行一个）,2 个文件,耗时 "
                         << "1/3";
  QTest::newRow("paths") << kCopyPaths << true << true << ""
                         << "已经复制文件路径（每行一个）,2 个文件,耗时 "
                         << "1/3";
}

void TestFileOps::questionsAndMessages() {
  QFETCH(Command, command);
  QFETCH(bool, select);
  QFETCH(bool, answer);
  QFETCH(QString, prompt);
  QFETCH(QString, result);
  QFETCH(QString, count);
  Env env;
  MakeDir(env.Path("t"));
  for (const char* name : {"0.wav", "1.wav", "2.wav"}) {
    env.File(name, name);
    env.Row(name);
  }
  if (select) env.Select({0, 1});
  env.options.move.lastDirectory.Set(env.Path("t"));
  env.dialogs->QueueMessageAnswer(answer ? 0 : 1);
  if (answer) env.dialogs->QueueFolder(env.Path("t") + "/");
  QStringList messages;
  QObject::connect(&env.status, &StatusTexts::messageChanged,
                   [&messages](const QString& text) { messages << text; });

  env.ops.RunFileOperation(command);

  QCOMPARE(env.dialogs->prompts.size(), prompt.isEmpty() ? 0 : 1);
  if (!prompt.isEmpty()) {
    const ScriptedDialogs::Prompt& p = env.dialogs->prompts[0];
    QCOMPARE(p.text, prompt);
    if (p.kind == ScriptedDialogs::Prompt::kMessage) {
      QCOMPARE(p.title, QStringLiteral("Tovrik："));
      QCOMPARE(p.buttons, prompt == "请先选择要操作的列表！" ? 0 : 1);
    } else {
      QCOMPARE(p.title, env.Path("t"));  // the folder chosen last time
    }
  }
  if (command == kMove || command == kCopy)
    QCOMPARE(env.options.move.lastDirectory.Value(), env.Path("t") + (answer && select ? "/" : ""));
  if (result.isEmpty()) {
    QCOMPARE(messages, QStringList());
  } else {
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0], kWorking);
    QVERIFY2(messages[1].startsWith(result) && messages[1].size() > result.size(),
             qPrintable(messages[1]));
  }
  QCOMPARE(env.status.Count(), count);
}

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
