// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands of the main window on the hostile tree: delete, move, copy, remove, copy
// names, and the in-place rename, with files taken away or replaced while they run.
#include <unistd.h>
#include <QLineEdit>
#include <iterator>

#include "E2eSuite.h"
#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "platform/Files.h"
#include "ui/Artwork.h"

namespace {

// Rows in the tree's order: space quote subst dash nl cr bslash long gbk zero trunc big fifo
// loop deep (ro rodir for the read-only cases). Changes and faults are written in these tags.
struct FileCase {
  const char* name;
  Command command;
  QStringList select;
  QString answer;  // "ok" / "cancel" for a question, a directory below the root for a folder
  // "<gone|replaced>@<prompt|start|move2>:tag": another process removes the file, or replaces it
  // with "replaced", when the first question opens, when the work starts, or as the second move
  // of the run starts.
  QString fault;
  QStringList disk;  // "-t", "t>dir", "t+dir", raw paths for anything else
  QStringList rows;  // "-t" row gone, "t>dir" row now in dir
  QString message;   // the start of the status message, or "box:" and the last question
  // "keep rows": 移动后移除列表 off; "no smart": 重名时智能改名 off; "clash": dst already holds
  // a file of the first selected name.
  QString options = {};
};

const QStringList kOdd{"space", "quote", "subst", "dash", "nl", "cr", "bslash", "long", "gbk"};
const QStringList kSpecial{"zero", "trunc", "big", "fifo", "loop"};

QStringList Each(const QStringList& tags, const QString& prefix, const QString& suffix = {}) {
  QStringList out;
  for (const QString& tag : tags) out << prefix + tag + suffix;
  return out;
}

const QStringList kAllTags = kOdd + kSpecial + QStringList{"deep"};

const FileCase kFileCases[] = {
    {"delete odd names",
     Command::kDelete,
     kOdd,
     "ok",
     {},
     Each(kOdd, "-"),
     Each(kOdd, "-"),
     "已经删除,9 个文件,耗时 "},
    {"delete special files",
     Command::kDelete,
     kSpecial,
     "ok",
     {},
     Each(kSpecial, "-"),
     Each(kSpecial, "-"),
     "已经删除,5 个文件,耗时 "},
    {"delete beyond PATH_MAX keeps its row",
     Command::kDelete,
     {"space", "deep"},
     "ok",
     {},
     {"-space"},
     {"-space"},
     "已经删除,2 个文件,耗时 "},
    {"delete cancelled",
     Command::kDelete,
     {"nl"},
     "cancel",
     {},
     {},
     {},
     "box:确定要删除选定的 1 个文件吗？"},
    {"delete without a selection",
     Command::kDelete,
     {},
     "ok",
     {},
     {},
     {},
     "box:请先选择要操作的列表！"},
    {"delete, a file gone at the question",
     Command::kDelete,
     {"space", "quote"},
     "ok",
     "gone@prompt:quote",
     {"-space"},
     {"-space"},
     "已经删除,2 个文件,耗时 "},
    {"delete, a file replaced at the question",
     Command::kDelete,
     {"nl"},
     "ok",
     "replaced@prompt:nl",
     {"-nl"},
     {"-nl"},
     "已经删除,1 个文件,耗时 "},
    {"move odd names",
     Command::kMove,
     kOdd,
     "dst",
     {},
     Each(kOdd, "", ">dst"),
     Each(kOdd, "-"),
     "已经移动,9 个文件,耗时 "},
    {"move special files, rows kept",
     Command::kMove,
     kSpecial,
     "dst",
     {},
     Each(kSpecial, "", ">dst"),
     Each(kSpecial, "", ">dst"),
     "已经移动,5 个文件,耗时 ",
     "keep rows"},
    {"move beyond PATH_MAX keeps its row",
     Command::kMove,
     {"gbk", "deep"},
     "dst",
     {},
     {"gbk>dst"},
     {"-gbk"},
     "已经移动,2 个文件,耗时 "},
    {"move, a file gone between files",
     Command::kMove,
     {"space", "quote", "subst"},
     "dst",
     "gone@move2:space",
     {"quote>dst", "subst>dst"},
     {"-quote", "-subst"},
     "已经移动,3 个文件,耗时 "},
    {"move, a file replaced between files",
     Command::kMove,
     {"space", "quote"},
     "dst",
     "replaced@move2:space",
     {"space>dst", "quote>dst"},
     {"-space", "-quote"},
     "已经移动,2 个文件,耗时 "},
    {"move, a 255-byte name whose numbered name is too long",
     Command::kMove,
     {"long", "dash"},
     "dst",
     {},
     {"dash>dst"},
     {"-dash"},
     "已经移动,2 个文件,耗时 ",
     "clash"},
    {"move, a 255-byte name replacing without smart names",
     Command::kMove,
     {"long"},
     "dst",
     {},
     {"long>dst"},
     {"-long"},
     "已经移动,1 个文件,耗时 ",
     "clash no smart"},
    {"move, folder dialog cancelled",
     Command::kMove,
     {"space"},
     "",
     {},
     {},
     {},
     "box:将选定的 1 个文件移动到的目录："},
    {"copy odd names",
     Command::kCopy,
     kOdd,
     "dst",
     {},
     Each(kOdd, "", "+dst"),
     {},
     "已经复制,9 个文件,耗时 "},
    {"copy special files: only regular files are copied",
     Command::kCopy,
     {"zero", "trunc", "fifo", "loop", "deep"},
     "dst",
     {},
     {"zero+dst", "trunc+dst"},
     {},
     "已经复制,5 个文件,耗时 "},
    {"copy, a file replaced at the folder dialog",
     Command::kCopy,
     {"gbk"},
     "dst",
     "replaced@prompt:gbk",
     {"gbk+dst"},
     {},
     "已经复制,1 个文件,耗时 "},
    {"copy, a file gone as the work starts",
     Command::kCopy,
     {"nl", "cr"},
     "dst",
     "gone@start:nl",
     {"cr+dst"},
     {},
     "已经复制,2 个文件,耗时 "},
    {"copy onto itself takes a numbered name",
     Command::kCopy,
     {"space"},
     "src",
     {},
     {"src/a b.wav+src/a b_1.wav"},
     {},
     "已经复制,1 个文件,耗时 "},
    {"remove rows touches no file",
     Command::kRemoveRows,
     kAllTags,
     {},
     {},
     {},
     Each(kAllTags, "-"),
     "已经移除（非物理删除）,15 个文件,耗时 "},
    {"remove all touches no file",
     Command::kRemoveAll,
     {},
     "ok",
     {},
     {},
     Each(kAllTags, "-"),
     "box:确定要全部移除（非物理删除）吗？"},
    {"copy names touches no file",
     Command::kCopyNames,
     {"nl", "cr", "gbk"},
     {},
     {},
     {},
     {},
     "已经复制文件名（每行一个）,3 个文件,耗时 "},
};

const FileCase kReadOnlyCases[] = {
    {"delete from a read-only directory",
     Command::kDelete,
     {"ro", "rodir"},
     "ok",
     {},
     {"-ro"},
     {"-ro"},
     "已经删除,2 个文件,耗时 "},
    {"move out of a read-only directory",
     Command::kMove,
     {"ro", "rodir"},
     "dst",
     {},
     {"ro>dst"},
     {"-ro"},
     "已经移动,2 个文件,耗时 "},
    {"move into a read-only directory",
     Command::kMove,
     {"space", "fifo"},
     "src/rodir",
     {},
     {},
     {},
     "已经移动,2 个文件,耗时 "},
    {"copy into a read-only directory",
     Command::kCopy,
     {"space", "zero"},
     "src/rodir",
     {},
     {},
     {},
     "已经复制,2 个文件,耗时 "},
    {"copy a read-only file",
     Command::kCopy,
     {"ro"},
     "dst",
     {},
     {"ro+dst"},
     {},
     "已经复制,1 个文件,耗时 "},
};

}  // namespace

void E2eSuite::initTestCase() {
  InitArtwork();
  InstallFileManagerStandIn();
}

void E2eSuite::fileCommands_data() {
  QTest::addColumn<int>("index");
  for (int i = 0; i < int(std::size(kFileCases)); ++i) QTest::newRow(kFileCases[i].name) << i;
}

void E2eSuite::fileCommands() {
  QFETCH(int, index);
  RunFileCommandCase(index, false);
}

void E2eSuite::readOnly_data() {
  QTest::addColumn<int>("index");
  for (int i = 0; i < int(std::size(kReadOnlyCases)); ++i)
    QTest::newRow(kReadOnlyCases[i].name) << i;
}

void E2eSuite::readOnly() {
  if (::geteuid() == 0) QSKIP("permission bits do not stop root; run as an ordinary user");
  QFETCH(int, index);
  RunFileCommandCase(index, true);
}

void E2eSuite::RunFileCommandCase(int index, bool readOnly) {
  const FileCase& c = readOnly ? kReadOnlyCases[index] : kFileCases[index];
  OpenOnTree(readOnly);
  if (QTest::currentTestFailed()) return;
  MoveOptions& move = window_->App().Options().move;
  move.smartRename.Set(!c.options.contains(QStringLiteral("no smart")));
  move.removeAfterMove.Set(!c.options.contains(QStringLiteral("keep rows")));
  if (c.options.contains(QStringLiteral("clash")))
    WriteFile(tree_->Dst() + u'/' + tree_->FileName(c.select.first()), "already there");
  SelectTags(c.select);
  if (c.answer == "ok" || c.answer == "cancel")
    hooked_->QueueMessageAnswer(c.answer == "ok" ? Dialogs::kAnswerOk : Dialogs::kAnswerCancel);
  else if (!c.answer.isEmpty())
    hooked_->QueueFolder(RootPath() + u'/' + c.answer);

  // The fault, and what it changes on disk before the command's own changes.
  QStringList changes;
  bool faulted = c.fault.isEmpty();
  if (!c.fault.isEmpty()) {
    const QString kind = c.fault.section(u'@', 0, 0);
    const QString when = c.fault.section(u'@', 1).section(u':', 0, 0);
    const QString tag = c.fault.section(u':', 1);
    changes << (kind == "gone" ? u'-' + tag : tag + QStringLiteral("=replaced"));
    const std::function<void()> act = [this, &faulted, kind, tag] {
      faulted = true;
      if (kind == "gone")
        tree_->Remove(tag);
      else
        tree_->Replace(tag, "replaced");
    };
    if (when == "prompt") hooked_->onPrompt = act;
    if (when == "start")
      connect(&window_->App().Status(), &StatusTexts::messageChanged, window_.get(),
              [act](const QString& text) {
                if (text == QStringLiteral("正在操作，请稍后...")) act();
              });
    if (when == "move2")
      Files::SetMoveSeam(
          [act, moves = 0](Files::MoveStage stage) mutable {
            if (stage == Files::MoveStage::kStart && ++moves == 2) act();
          },
          false);
  }
  changes << c.disk;
  const Inventory before = Snapshot();

  Guarded(QString::fromUtf8(c.name), [&] { window_->RunCommand(c.command); });

  QVERIFY2(faulted, "the fault was never injected");
  const QStringList differences =
      Differences(ApplyChanges(before, TagChanges(changes)), Snapshot());
  QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
  QCOMPARE(Rows(), ExpectedRows(c.rows));
  const QString& message = c.message;
  if (message.startsWith(QStringLiteral("box:")))
    QCOMPARE(LastPrompt(), message.mid(4));
  else
    QVERIFY2(Status().startsWith(message), qPrintable(Status()));
}

// The edit of a row's name ends with Enter, as a user ends it; the file is renamed exactly.
void E2eSuite::renameInPlace_data() {
  QTest::addColumn<QString>("tag");
  QTest::addColumn<QString>("typed");  // replaces the name; "+x" appends x to it
  QTest::addColumn<bool>("removedMeanwhile");
  QTest::addColumn<QByteArray>("renamedTo");  // below src, empty when nothing changes on disk
  const QByteArray none;
  QTest::newRow("a newline name to a plain one") << "nl"
                                                 << "plain.wav" << false << QByteArray("plain.wav");
  QTest::newRow("a plain name to a shell text") << "space"
                                                << "$(touch pwned).wav;`touch pwned`" << false
                                                << QByteArray("$(touch pwned).wav;`touch pwned`");
  QTest::newRow("a name ending in CR keeps its CR") << "cr"
                                                    << "+x" << false << QByteArray("ret.wav\rx");
  QTest::newRow("a GBK name keeps its bytes")
      << "gbk"
      << "+x" << false << QByteArray("\xC9\xF9\xD2\xF4.wavx");
  QTest::newRow("a GBK name left as it was") << "gbk"
                                             << "+" << false << none;
  QTest::newRow("into another directory refused") << "dash"
                                                  << "../x.wav" << false << none;
  QTest::newRow("over another file refused") << "space"
                                             << "-n.wav" << false << none;
  QTest::newRow("256 bytes refused") << "long"
                                     << "+y" << false << none;
  QTest::newRow("beyond PATH_MAX refused") << "deep"
                                           << "d.wav" << false << none;
  QTest::newRow("the file gone while editing") << "quote"
                                               << "q.wav" << true << none;
}

void E2eSuite::renameInPlace() {
  QFETCH(QString, tag);
  QFETCH(QString, typed);
  QFETCH(bool, removedMeanwhile);
  QFETCH(QByteArray, renamedTo);
  OpenOnTree(false);
  if (QTest::currentTestFailed()) return;
  const int row = int(initialRows_.indexOf(Rel(tag)));
  window_->List().Selection().SelectOnly(row);
  window_->RunCommand(Command::kRenameInPlace);
  auto* editor = window_->View()->findChild<QLineEdit*>();
  QVERIFY(editor);
  if (typed.startsWith(u'+')) {
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, typed.mid(1));
  } else {
    editor->setText(typed);
  }
  if (removedMeanwhile) tree_->Remove(tag);
  const Inventory before = Snapshot();
  const QString oldName = tree_->FileName(tag);
  const QString newName = FromNativePath(renamedTo);

  Guarded(QStringLiteral("rename ") + tag, [&] { QTest::keyClick(editor, Qt::Key_Return); });
  QTRY_VERIFY(!window_->View()->IsEditing());

  QStringList changes;
  if (!renamedTo.isEmpty()) changes << Rel(tag) + u'>' + QStringLiteral("src/") + newName;
  const QStringList differences = Differences(ApplyChanges(before, changes), Snapshot());
  QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
  QCOMPARE(window_->List().RowFileName(row), renamedTo.isEmpty() ? oldName : newName);
  if (typed == "+") return;  // an edit ended unchanged says nothing
  if (renamedTo.isEmpty())
    QCOMPARE(Status(),
             QStringLiteral("文件更名失败！请检查文件名格式是否包含非法字符，或该文件是否可写！"));
  else
    QCOMPARE(Status(), QStringLiteral("文件【") + oldName + QStringLiteral("】更名为【") + newName +
                           QStringLiteral("】"));
}
