// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The rest of the main window (locate, list file, clipboard, import, drop, play) and its tool
// windows (find, search directory, batch rename) on the hostile tree.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

#include "E2eSuite.h"
#include "list/ListFile.h"
#include "list/SoundList.h"
#include "platform/Files.h"
#include "platform/SdlSound.h"
#include "settings/ConfigDir.h"

QTEST_MAIN(E2eSuite)

namespace {

template <typename Control = QPushButton>
Control* Child(QWidget* window, const QString& name) {
  auto* control = window ? window->findChild<Control*>(name) : nullptr;
  if (!control) qFatal("no control %s", qPrintable(name));
  return control;
}

void Click(QWidget* window, const QString& name) { Child(window, name)->click(); }

QStringList Sorted(QStringList list) {
  list.sort();
  return list;
}

}  // namespace

// Locating runs the file manager with the directory as one argument, never through a shell.
void E2eSuite::locate() {
  OpenOnTree(false);
  QFile::remove(FileManagerLog());
  const Inventory before = Snapshot();
  for (const char* tag : {"subst", "dash", "nl", "gbk"}) {
    window_->List().Selection().SelectOnly(int(initialRows_.indexOf(Rel(tag))));
    Guarded(QStringLiteral("locate"), [&] { window_->RunCommand(Command::kShowInFileManager); });
  }
  const QString expected = QString(tree_->Src() + u'\n').repeated(4);
  QTRY_COMPARE(QString::fromUtf8(ReadFile(FileManagerLog())), expected);
  QVERIFY(dialogs_->prompts.isEmpty());
  QCOMPARE(Differences(before, Snapshot()), QStringList());
}

// Saving the list and reading it back, and copying the paths, keep every byte of every name.
void E2eSuite::listFileAndClipboard() {
  OpenOnTree(false);
  const Inventory before = Snapshot();
  window_->RunCommand(Command::kSelectAll);
  Guarded(QStringLiteral("copy paths"), [&] { window_->RunCommand(Command::kCopyPaths); });
  QStringList copied;
  for (const QUrl& url : QGuiApplication::clipboard()->mimeData()->urls())
    copied << PathFromFileUrl(url).mid(RootPath().size() + 1);
  QCOMPARE(copied, initialRows_);
  QVERIFY(Status().startsWith(QStringLiteral("已经复制文件路径（每行一个）,15 个文件,耗时 ")));

  Guarded(QStringLiteral("save list"), [&] { window_->RunCommand(Command::kSaveListNow); });
  QCOMPARE(LastPrompt(), QStringLiteral("OK!"));
  SoundList reread;
  LoadListFile(reread, ListFilePath(ConfigDir()), false);
  QStringList rows;
  for (int r = 0; r < reread.RowCount(); ++r)
    rows << reread.RowFullPath(r).mid(RootPath().size() + 1);
  // A link loop names no file, and a path beyond PATH_MAX cannot be opened: both are left out
  // as files that no longer exist.
  QStringList kept = initialRows_;
  kept.removeAll(Rel("loop"));
  kept.removeAll(Rel("deep"));
  QCOMPARE(rows, kept);
  QCOMPARE(Differences(before, Snapshot()), QStringList());
}

// The open-file dialog and a drop bring the same paths back as rows, byte for byte.
void E2eSuite::importAndDrop() {
  OpenOnTree(false);
  const Inventory before = Snapshot();
  QStringList paths;
  for (const QString& tag : tree_->Tags()) paths << tree_->Path(tag);
  hooked_->QueueOpenFiles(paths);
  Guarded(QStringLiteral("import"), [&] { window_->RunCommand(Command::kImport); });
  QCOMPARE(Rows(), initialRows_ + initialRows_);

  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromEncoded(FileUrlBytes(path));
  mime.setUrls(urls);
  // Delivered as the window system delivers the end of a drag from a file manager.
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  static_cast<QObject*>(window_.get())->event(&enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  Guarded(QStringLiteral("drop"), [&] { static_cast<QObject*>(window_.get())->event(&drop); });
  QCOMPARE(Rows(), initialRows_ + initialRows_ + initialRows_);
  QCOMPARE(Differences(before, Snapshot()), QStringList());
}

// The real sound output on files that are empty, cut short, huge, a FIFO, a link loop or out of
// reach: it answers at once and plays only the one real wave.
void E2eSuite::play_data() {
  QTest::addColumn<QString>("tag");
  QTest::addColumn<bool>("plays");
  for (const char* tag : {"zero", "trunc", "big", "fifo", "loop", "deep"})
    QTest::newRow(tag) << tag << false;
  QTest::newRow("gbk") << "gbk" << true;
  QTest::newRow("nl") << "nl" << true;
}

void E2eSuite::play() {
  QFETCH(QString, tag);
  QFETCH(bool, plays);
  static SdlSound sdl;
  static const bool open = sdl.Open();
  if (!open) QSKIP("no audio device, not even the dummy one");
  OpenOnTree(false);
  window_.reset();
  window_ = OpenWindow(sdl);
  window_->List().RemoveAllRows();  // what the first window saved and this one loaded
  for (const HostileEntry& e : tree_->Entries()) {
    const QString path = tree_->Path(e.tag);
    window_->List().AddRow(path.mid(path.lastIndexOf(u'/') + 1), path.left(path.lastIndexOf(u'/')));
  }
  window_->MenuItem(QStringLiteral("选择时发音"))->setChecked(false);
  const Inventory before = Snapshot();
  window_->List().Selection().SelectOnly(int(initialRows_.indexOf(Rel(tag))));
  Guarded(QStringLiteral("play ") + tag, [&] { window_->RunCommand(Command::kPlayCurrent); });
  // A file that does not play says why after its name.
  QVERIFY(Status().startsWith(QStringLiteral("播放 ") + tree_->FileName(tag)));
  QCOMPARE(Status().contains(QStringLiteral("（无法播放：")), !plays);
  QCOMPARE(sdl.Playing() == SdlSound::Kind::Sampled, plays);
  sdl.Stop();
  QCOMPARE(Differences(before, Snapshot()), QStringList());
}

// The find window's text reaches odd names through wildcards and patterns alike.
void E2eSuite::find_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("regex");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QStringList>("found");
  QTest::addColumn<QString>("message");
  const QString all = QStringLiteral("按钮查找全部");
  const QString down = QStringLiteral("按钮向下查找");
  QTest::newRow("shell text") << "*$*" << false << all << QStringList{"subst"} << "";
  // "(" and "|" stay pattern syntax in a wildcard: an unbalanced one matches nothing, silently.
  QTest::newRow("unbalanced parenthesis") << "*$(*" << false << all << QStringList{} << "";
  QTest::newRow("backslash") << "*\\*" << false << all << QStringList{"bslash"} << "";
  QTest::newRow("GBK name by its characters")
      << "声音*" << false << all << QStringList{"gbk"} << "";
  QTest::newRow("every wav, line breaks too")
      << "*.wav" << false << all
      << QStringList{"space", "quote", "subst", "dash", "nl",   "bslash", "long",
                     "gbk",   "zero",  "trunc", "big",  "fifo", "loop",   "deep"}
      << "";
  QTest::newRow("newline by pattern") << "\\n" << true << all << QStringList{"nl"} << "";
  QTest::newRow("CR at the end by pattern") << "\\r$" << true << down << QStringList{"cr"} << "";
  QTest::newRow("leading dash") << "-*" << false << down << QStringList{"dash"} << "";
  QTest::newRow("broken pattern") << "[" << true << down << QStringList{} << "[ 完全找不到！";
}

void E2eSuite::find() {
  QFETCH(QString, text);
  QFETCH(bool, regex);
  QFETCH(QString, button);
  QFETCH(QStringList, found);
  QFETCH(QString, message);
  OpenOnTree(false);
  const Inventory before = Snapshot();
  window_->RunCommand(Command::kOpenFind);
  QWidget* findWindow = window_->OpenFindWindow();
  Child<QComboBox>(findWindow, "组合框欲查找")->setEditText(text);
  Child<QCheckBox>(findWindow, "选择框启用正则")->setChecked(regex);
  Child<QCheckBox>(findWindow, "选择框模糊匹配")->setChecked(regex);
  Child<QCheckBox>(findWindow, "选择框找到时播放")->setChecked(false);
  Guarded(QStringLiteral("find ") + text, [&] { Click(findWindow, button); });
  QStringList selected;
  for (int row : window_->List().Selection().SelectedRows()) selected << initialRows_[row];
  QStringList expected;
  for (const QString& tag : found) expected << Rel(tag);
  QCOMPARE(selected, expected);
  QCOMPARE(LastPrompt(), message);
  QCOMPARE(Differences(before, Snapshot()), QStringList());
}

// The search-directory window classifies the tree into dst/wav: every regular sound file is
// moved whatever its name; the FIFO, the link loop and the directory beyond PATH_MAX
// are counted as failures; the link back up is never followed.
void E2eSuite::scan_data() {
  QTest::addColumn<QString>("goneMeanwhile");  // removed as the scan's second move starts
  QTest::addColumn<QString>("counts");         // taken, moved, copied, failed
  QTest::newRow("move") << ""
                        << "取得 11 个文件，移动 11 个，复制 0 个，失败 4 个。";
  QTest::newRow("move, a file gone meanwhile")
      << "zero"
      << "取得 11 个文件，移动 10 个，复制 0 个，失败 5 个。";
}

void E2eSuite::scan() {
  QFETCH(QString, goneMeanwhile);
  QFETCH(QString, counts);
  // Every regular file whose whole name matches "*.wav" (not the one ending in CR).
  QStringList taken{"space", "quote", "subst", "dash",  "nl", "bslash",
                    "long",  "gbk",   "zero",  "trunc", "big"};
  taken.removeAll(goneMeanwhile);
  OpenOnTree(false);
  window_->RunCommand(Command::kOpenSearchDir);
  QWidget* w = window_->OpenSearchDirWindow();
  hooked_->QueueMessageAnswer(Dialogs::kAnswerOk);
  Click(w, "按钮清空目录");
  hooked_->QueueFolder(tree_->Src());
  Click(w, "按钮添加目录");
  for (const char* box : {"选择框遍历", "选择框过滤", "选择框归类", "选择框改名", "选择框载入列表",
                          "选择框载入前清空", "选择框不提示"})
    Child<QCheckBox>(w, box)->setChecked(true);
  // Moves: a copy of the 3 GiB file would test the disk, not the names.
  Child<QCheckBox>(w, "选择框拷贝")->setChecked(false);
  Child<QComboBox>(w, "组合框过滤")->setEditText(QStringLiteral("*.wav"));
  Child<QPlainTextEdit>(w, "编辑框归类")->setPlainText(tree_->Dst() + QStringLiteral("/#扩展名"));
  QStringList changes;
  if (!goneMeanwhile.isEmpty()) {
    changes << u'-' + goneMeanwhile;
    Files::SetMoveSeam(
        [this, goneMeanwhile, moves = 0](Files::MoveStage stage) mutable {
          if (stage == Files::MoveStage::kStart && ++moves == 2) tree_->Remove(goneMeanwhile);
        },
        false);
  }
  const Inventory before = Snapshot();

  Guarded(QStringLiteral("scan"), [&] { Click(w, "按钮执行"); });

  QStringList rows;
  for (const QString& tag : taken) {
    changes << tag + QStringLiteral(">dst/wav");
    rows << QStringLiteral("dst/wav/") + tree_->FileName(tag);
  }
  // Listed, then gone: its row stays where it was, without a size.
  if (!goneMeanwhile.isEmpty()) rows << Rel(goneMeanwhile);
  Inventory expected = ApplyChanges(before, TagChanges(changes));
  expected[QStringLiteral("dst/wav")] = QStringLiteral("dir");
  const QStringList differences = Differences(expected, Snapshot());
  QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
  QCOMPARE(Sorted(Rows()), Sorted(rows));
  QVERIFY2(LastPrompt().startsWith(QStringLiteral("共运行了 ")) && LastPrompt().endsWith(counts),
           qPrintable(LastPrompt()));
}

// Batch rename puts "新-" before every name and undoes it; a name that would pass 255 bytes and
// the file beyond PATH_MAX fail and are counted; a file taken away by another process is
// counted as well.
void E2eSuite::batchRename_data() {
  QTest::addColumn<QString>("fault");
  QTest::addColumn<QString>("undone");
  QTest::newRow("execute and undo") << ""
                                    << "撤销完毕，共 13 条记录，其中失败 0 条，耗时 ";
  QTest::newRow("a renamed file gone before the undo")
      << "gone before undo"
      << "撤销完毕，共 13 条记录，其中失败 1 "
         "条(失败的项目可能因为文件被占用，可在外部调整后重试直到"
         "全部修改成功！)，耗时 ";
  QTest::newRow("a file gone at the question of a second run")
      << "gone at the question"
      << "撤销完毕，共 12 条记录，其中失败 0 条，耗时 ";
}

void E2eSuite::batchRename() {
  QFETCH(QString, fault);
  QFETCH(QString, undone);
  OpenOnTree(false);
  const Inventory original = Snapshot();
  window_->RunCommand(Command::kOpenBatchRename);
  QWidget* w = window_->OpenBatchRenameWindow();
  Child<QTabWidget>(w, "选择夹")->setCurrentIndex(2);
  Child<QLineEdit>(w, "编辑框插入位置")->setText(QStringLiteral("0"));
  Child<QLineEdit>(w, "编辑框插入字符")->setText(QStringLiteral("新-"));
  auto renamed = [&](const QString& tag) {
    return QStringLiteral("src/新-") + tree_->FileName(tag);
  };
  QStringList once;  // every renamed entry as "old>new"
  for (const QString& tag : tree_->Tags())
    if (tag != "long" && tag != "deep") once << Rel(tag) + u'>' + renamed(tag);

  Guarded(QStringLiteral("batch rename"), [&] { Click(w, "按钮执行"); });
  QVERIFY2(
      LastPrompt().startsWith(QStringLiteral("批量改名完毕，共 15 条记录，其中失败 2 条，耗时 ")),
      qPrintable(LastPrompt()));
  QStringList differences = Differences(ApplyChanges(original, once), Snapshot());
  QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
  Inventory expected = original;
  if (fault == "gone before undo") {
    QVERIFY(Files::Delete(RootPath() + u'/' + renamed("space")));
    expected.remove(Rel("space"));
  } else if (fault == "gone at the question") {
    hooked_->QueueMessageAnswer(Dialogs::kAnswerOk);
    hooked_->onPrompt = [&] { QVERIFY(Files::Delete(RootPath() + u'/' + renamed("quote"))); };
    Guarded(QStringLiteral("batch rename again"), [&] { Click(w, "按钮执行"); });
    QVERIFY2(
        LastPrompt().startsWith(QStringLiteral("批量改名完毕，共 15 条记录，其中失败 3 条，耗时 ")),
        qPrintable(LastPrompt()));
    // The undo of the second run goes back to the names of the first.
    expected = ApplyChanges(original, once);
    expected.remove(renamed("quote"));
  }

  Guarded(QStringLiteral("undo"), [&] { Click(w, "按钮撤销"); });
  QVERIFY2(LastPrompt().startsWith(undone), qPrintable(LastPrompt()));
  differences = Differences(expected, Snapshot());
  QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
}
