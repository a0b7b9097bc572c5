#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "ListContext.h"
#include "core/AppContext.h"
#include "core/CheckStates.h"
#include "core/StatusTexts.h"
#include "fileops/FileOperations.h"
#include "fileops/ConflictFreeName.h"
#include "list/SoundList.h"
#include "platform/Clipboard.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"

namespace {

const QString kWorking = QStringLiteral("正在操作，请稍后...");

// Test files are made and read with their native bytes, so names that are not UTF-8 work.
void WriteFile(const QString& path, const QByteArray& content) {
  const int fd = ::open(ToNativePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  QVERIFY2(fd >= 0, qPrintable(path));
  QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
  ::close(fd);
}

void MakeDir(const QString& path) { QCOMPARE(::mkdir(ToNativePath(path).constData(), 0755), 0); }

void RemoveTree(const QByteArray& path) {
  if (DIR* d = ::opendir(path.constData())) {
    while (const dirent* e = ::readdir(d)) {
      const QByteArray name(e->d_name);
      if (name != "." && name != "..") RemoveTree(path + '/' + name);
    }
    ::closedir(d);
    ::rmdir(path.constData());
  } else {
    ::unlink(path.constData());
  }
}

QByteArray Checksum(const QByteArray& path) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  const int fd = ::open(path.constData(), O_RDONLY);
  char buffer[4096];
  for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) hash.addData({buffer, n});
  if (fd >= 0) ::close(fd);
  return hash.result().toHex().left(12);
}

// Every entry under root: "dir/" for a directory, "file=checksum" for a file, sorted.
void Walk(const QByteArray& root, const QByteArray& rel, QStringList* out) {
  DIR* d = ::opendir((root + rel).constData());
  if (!d) return;
  while (const dirent* e = ::readdir(d)) {
    const QByteArray name(e->d_name);
    if (name == "." || name == "..") continue;
    const QByteArray path = rel + '/' + name;
    struct stat st;
    ::lstat((root + path).constData(), &st);
    if (S_ISDIR(st.st_mode)) {
      *out << FromNativePath(path.mid(1)) + u'/';
      Walk(root, path, out);
    } else {
      *out << FromNativePath(path.mid(1)) + u'=' + QString::fromLatin1(Checksum(root + path));
    }
  }
  ::closedir(d);
}

// A list over files in a temporary directory, with the dialogs scripted.
struct Env : ListContext {
  Env() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    previous = InstallDialogs(std::move(scripted));
    QObject::connect(&status, &StatusTexts::messageChanged, &status, [this](const QString& text) {
      if (text == kWorking && duringRun) duringRun();
    });
  }
  ~Env() {
    InstallDialogs(std::move(previous));
    RemoveTree(ToNativePath(dir.path()));  // QTemporaryDir cannot remove names that are not UTF-8
  }

  QString Path(const QString& rel) const { return dir.path() + u'/' + rel; }
  void File(const QString& rel, const QByteArray& content) { WriteFile(Path(rel), content); }
  void Row(const QString& rel) {
    const qsizetype slash = rel.lastIndexOf(u'/');
    list.AddRow(rel.mid(slash + 1), slash < 0 ? dir.path() : Path(rel.left(slash)));
  }
  void Select(const QList<int>& rows) {
    for (int r : rows) list.Selection().SelectRow(r);
  }
  QStringList Inventory() const {
    QStringList entries;
    Walk(ToNativePath(dir.path()), QByteArray(), &entries);
    entries.sort();
    return entries;
  }
  // The rows as paths relative to the temporary directory.
  QStringList Rows() const {
    QStringList rows;
    for (int r = 0; r < list.RowCount(); ++r) rows << list.RowFullPath(r).mid(dir.path().size() + 1);
    return rows;
  }
  // The inventory after applying "-x" (gone), "x>y" (moved) and "x+y" (copied) to before.
  static QStringList Expect(QStringList entries, const QStringList& changes) {
    auto find = [&entries](const QString& rel) {
      for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i] == rel || entries[i].startsWith(rel + u'=')) return i;
      return qsizetype(-1);
    };
    for (const QString& change : changes) {
      const bool remove = change.startsWith(u'-');
      const qsizetype at = std::find_if(change.begin(), change.end(),
                                        [](QChar c) { return c == u'>' || c == u'+'; }) -
                           change.begin();
      const QString from = remove ? change.mid(1) : change.left(at);
      const qsizetype i = find(from);
      const QString sum = entries.value(i).section(u'=', 1);
      if (!remove) {
        const QString to = change.mid(at + 1);
        if (const qsizetype j = find(to); j >= 0) entries.removeAt(j);
        entries << to + u'=' + sum;
      }
      if (remove || change[at] == u'>') entries.removeAt(find(from));
    }
    entries.sort();
    return entries;
  }

  QTemporaryDir dir;
  FileOperations ops{context};
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<Dialogs> previous;
  std::function<void()> duringRun;
};

enum Fault { kNoFault, kDeleteFirstSource, kRemoveEmptyTarget };

bool Root() { return ::geteuid() == 0; }

}  // namespace

class TestFileOps : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void operations_data();
  void operations();
  void readOnly_data();
  void readOnly();
  void strangeNames_data();
  void strangeNames();
  void questionsAndMessages_data();
  void questionsAndMessages();
  void copyNamesAndPaths();
  void secondJobFromEventsDoesNothing();
  void stopKeepsWhatIsDone();
  void removeAll_data();
  void removeAll();
  void renameRowFile_data();
  void renameRowFile();
  void dropped();
};

// Rows a/0.wav ... a/4.wav and b/0.wav; t holds 2.wav, 2_1.wav and a directory 3.wav; e is
// empty. Each row: what is run and answered, then the file changes ("-x" gone, "x>y" moved,
// "x+y" copied) and the rows afterwards.
void TestFileOps::operations_data() {
  QTest::addColumn<int>("code");
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

  QTest::newRow("delete") << 0 << QList<int>{1, 3} << false << false << "ok" << 0
                          << QStringList{"-a/1.wav", "-a/3.wav"} << rowsWith({{1, ""}, {3, ""}});
  QTest::newRow("delete cancelled") << 0 << QList<int>{1} << false << false << "cancel" << 0
                                    << none << all;
  QTest::newRow("delete, a file gone meanwhile")
      << 0 << QList<int>{0, 2} << false << false << "ok" << int(kDeleteFirstSource)
      << QStringList{"-a/0.wav", "-a/2.wav"} << rowsWith({{2, ""}});
  QTest::newRow("move") << 1 << QList<int>{0, 1} << true << false << "t" << 0
                        << QStringList{"a/0.wav>t/0.wav", "a/1.wav>t/1.wav"}
                        << rowsWith({{0, "t/0.wav"}, {1, "t/1.wav"}});
  QTest::newRow("move, remove after") << 1 << QList<int>{0, 1} << true << true << "t" << 0
                                      << QStringList{"a/0.wav>t/0.wav", "a/1.wav>t/1.wav"}
                                      << rowsWith({{0, ""}, {1, ""}});
  QTest::newRow("move, clash numbered") << 1 << QList<int>{2} << true << false << "t" << 0
                                        << QStringList{"a/2.wav>t/2_2.wav"}
                                        << rowsWith({{2, "t/2_2.wav"}});
  QTest::newRow("move, clash replaces") << 1 << QList<int>{2} << false << false << "t" << 0
                                        << QStringList{"a/2.wav>t/2.wav"}
                                        << rowsWith({{2, "t/2.wav"}});
  QTest::newRow("move, same names: last row first")
      << 1 << QList<int>{0, 5} << true << false << "t" << 0
      << QStringList{"b/0.wav>t/0.wav", "a/0.wav>t/0_1.wav"}
      << rowsWith({{0, "t/0_1.wav"}, {5, "t/0.wav"}});
  QTest::newRow("move onto a directory fails") << 1 << QList<int>{3} << false << true << "t" << 0
                                               << none << all;
  QTest::newRow("move beside a directory") << 1 << QList<int>{3} << true << false << "t" << 0
                                           << QStringList{"a/3.wav>t/3_1.wav"}
                                           << rowsWith({{3, "t/3_1.wav"}});
  for (bool smart : {false, true}) {
    QTest::addRow("move onto itself, smart %d", smart)
        << 1 << QList<int>{2} << smart << false << "a/" << 0 << none << all;
  }
  QTest::newRow("move cancelled") << 1 << QList<int>{2} << false << false << "" << 0 << none
                                  << all;
  QTest::newRow("move, target removed meanwhile")
      << 1 << QList<int>{0, 1} << false << false << "e" << int(kRemoveEmptyTarget)
      << QStringList{"-e/"} << all;
  QTest::newRow("move, a source gone meanwhile")
      << 1 << QList<int>{0, 1} << false << false << "t" << int(kDeleteFirstSource)
      << QStringList{"-a/0.wav", "a/1.wav>t/1.wav"} << rowsWith({{1, "t/1.wav"}});
  QTest::newRow("copy") << 2 << QList<int>{0, 4} << true << true << "t" << 0
                        << QStringList{"a/0.wav+t/0.wav", "a/4.wav+t/4.wav"} << all;
  QTest::newRow("copy, clash numbered") << 2 << QList<int>{2} << true << false << "t" << 0
                                        << QStringList{"a/2.wav+t/2_2.wav"} << all;
  QTest::newRow("copy, clash replaces") << 2 << QList<int>{2} << false << false << "t" << 0
                                        << QStringList{"a/2.wav+t/2.wav"} << all;
  QTest::newRow("copy onto a directory fails") << 2 << QList<int>{3} << false << false << "t" << 0
                                               << none << all;
  QTest::newRow("copy onto itself") << 2 << QList<int>{2} << false << false << "a" << 0 << none
                                    << all;
  QTest::newRow("copy onto itself, smart") << 2 << QList<int>{2} << true << false << "a" << 0
                                           << QStringList{"a/2.wav+a/2_1.wav"} << all;
  QTest::newRow("copy, target removed meanwhile")
      << 2 << QList<int>{0} << false << false << "e" << int(kRemoveEmptyTarget)
      << QStringList{"-e/"} << all;
  QTest::newRow("remove rows") << 3 << QList<int>{0, 4, 5} << false << false << "" << 0 << none
                               << rowsWith({{0, ""}, {4, ""}, {5, ""}});
}

void TestFileOps::operations() {
  QFETCH(int, code);
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
  env.checks.states[Caption::kSmartRename] = smart;
  env.checks.states[Caption::kRemoveAfterMove] = removeAfter;
  if (code == kOpDelete) env.dialogs->QueueMessageAnswer(answer == "ok" ? 0 : 1);
  if (code == kOpMove || code == kOpCopy)
    env.dialogs->QueueFolder(answer.isEmpty() ? QString() : env.Path(answer));
  env.duringRun = [&] {
    if (fault == kDeleteFirstSource) RemoveTree(ToNativePath(env.list.RowFullPath(selected[0])));
    if (fault == kRemoveEmptyTarget) RemoveTree(ToNativePath(env.Path("e")));
  };
  const QStringList before = env.Inventory();

  env.ops.RunFileOperation(code);

  QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  QCOMPARE(env.Rows(), rows);
}

// Permission bits do not stop root, so these run only for an ordinary user.
void TestFileOps::readOnly_data() {
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("readOnly");
  QTest::newRow("delete from a read-only directory") << 0 << "a";
  QTest::newRow("move out of a read-only directory") << 1 << "a";
  QTest::newRow("move into a read-only directory") << 1 << "t";
  QTest::newRow("copy into a read-only directory") << 2 << "t";
}

void TestFileOps::readOnly() {
  if (Root()) QSKIP("root ignores permission bits");
  QFETCH(int, code);
  QFETCH(QString, readOnly);
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("t"));
  env.File("a/x.wav", "x");
  env.File("t/x.wav", "old");
  env.Row("a/x.wav");
  env.Select({0});
  env.checks.states[Caption::kSmartRename] = code == kOpCopy;
  env.dialogs->QueueMessageAnswer(0);
  env.dialogs->QueueFolder(env.Path("t"));
  QCOMPARE(::chmod(ToNativePath(env.Path(readOnly)).constData(), 0555), 0);
  const QStringList before = env.Inventory();

  env.ops.RunFileOperation(code);

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
  env.list.SetRenameHandler([&env](int row, const QString& text) {
    return env.ops.RenameRowFile(row, text);
  });
  env.checks.states[Caption::kSmartRename] = true;
  auto step = [&env](int code, const QString& folder, const QStringList& changes) {
    const QStringList before = env.Inventory();
    env.list.Selection().SelectOnly(0);
    env.dialogs->QueueMessageAnswer(0);
    env.dialogs->QueueFolder(env.Path(folder));
    env.ops.RunFileOperation(code);
    QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  };

  QStringList before = env.Inventory();
  QVERIFY(env.list.setData(env.list.index(0, 0), name));
  QCOMPARE(env.Inventory(), Env::Expect(before, {"a/plain.wav>a/" + name}));
  QCOMPARE(env.list.RowFileName(0), name);
  step(kOpCopy, "t", {"a/" + name + "+t/" + name});
  step(kOpMove, "u", {"a/" + name + ">u/" + name});
  QCOMPARE(env.Rows(), QStringList{"u/" + name});
  step(kOpCopyNames, "", {});
  QCOMPARE(ClipboardText(), name);
  step(kOpDelete, "", {"-u/" + name});
  QCOMPARE(env.list.RowCount(), 0);
}

void TestFileOps::questionsAndMessages_data() {
  QTest::addColumn<int>("code");
  QTest::addColumn<bool>("select");
  QTest::addColumn<bool>("answer");  // OK or a folder; else Cancel or no folder
  QTest::addColumn<QString>("prompt");
  QTest::addColumn<QString>("result");  // the final status message without the elapsed time
  QTest::addColumn<QString>("count");
  const QString noRows = QStringLiteral("请先选择要操作的列表！");
  for (int code = kOpDelete; code <= kOpCopyPaths; ++code)
    QTest::addRow("no selection, %d", code) << code << false << true << noRows << "" << "";
  QTest::newRow("delete") << 0 << true << true << "确定要删除选定的 2 个文件吗？"
                          << "已经删除,2 个文件,耗时 " << "0/1";
  QTest::newRow("delete cancelled") << 0 << true << false << "确定要删除选定的 2 个文件吗？"
                                    << "" << "";
  QTest::newRow("move") << 1 << true << true << "将选定的 2 个文件移动到的目录："
                        << "已经移动,2 个文件,耗时 " << "1/3";
  QTest::newRow("move cancelled") << 1 << true << false << "将选定的 2 个文件移动到的目录："
                                  << "" << "";
  QTest::newRow("copy") << 2 << true << true << "将选定的 2 个文件复制到的目录："
                        << "已经复制,2 个文件,耗时 " << "1/3";
  QTest::newRow("remove") << 3 << true << true << "" << "已经移除（非物理删除）,2 个文件,耗时 "
                          << "0/1";
  QTest::newRow("names") << 4 << true << true << "" << "已经复制文件名（每行一个）,2 个文件,耗时 "
                         << "1/3";
  QTest::newRow("paths") << 5 << true << true << ""
                         << "已经复制文件路径（每行一个）,2 个文件,耗时 " << "1/3";
}

void TestFileOps::questionsAndMessages() {
  QFETCH(int, code);
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
  env.context.lastTargetDirectory = env.Path("t");
  env.dialogs->QueueMessageAnswer(answer ? 0 : 1);
  if (answer) env.dialogs->QueueFolder(env.Path("t") + "/");
  QStringList messages;
  QObject::connect(&env.status, &StatusTexts::messageChanged,
                   [&messages](const QString& text) { messages << text; });

  env.ops.RunFileOperation(code);

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
  if (code == kOpMove || code == kOpCopy)
    QCOMPARE(env.context.lastTargetDirectory, env.Path("t") + (answer && select ? "/" : ""));
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

void TestFileOps::copyNamesAndPaths() {
  Env env;
  for (const char* name : {"a.wav", "b.wav", "c.wav", "鼓.wav"}) env.Row(name);
  env.Select({3, 0, 2});
  env.ops.RunFileOperation(kOpCopyNames);
  QCOMPARE(ClipboardText(), QStringLiteral("a.wav\nc.wav\n鼓.wav"));
  env.ops.RunFileOperation(kOpCopyPaths);
  QCOMPARE(ClipboardText(), QStringList({env.Path("a.wav"), env.Path("c.wav"), env.Path("鼓.wav")})
                                .join(u'\n'));
  QCOMPARE(env.list.RowCount(), 4);
}

// Commands started from within a job's event processing (here: its first status message) do
// nothing, even with every question answered OK.
void TestFileOps::secondJobFromEventsDoesNothing() {
  Env env;
  for (const char* name : {"0.wav", "1.wav", "2.wav"}) {
    env.File(name, name);
    env.Row(name);
  }
  env.Select({0});
  for (int i = 0; i < 3; ++i) env.dialogs->QueueMessageAnswer(0);
  env.duringRun = [&env] {
    env.ops.RunFileOperation(kOpDelete);
    env.ops.RemoveAllRows();
    QVERIFY(!env.ops.RenameRowFile(1, "z.wav"));
    env.ops.AddDroppedFiles({env.Path("0.wav")});
  };
  const QStringList before = env.Inventory();
  env.ops.RunFileOperation(kOpRemoveRows);
  QCOMPARE(env.Inventory(), before);
  QCOMPARE(env.Rows(), QStringList({"1.wav", "2.wav"}));
  QCOMPARE(env.dialogs->prompts.size(), 0);
}

// A stop (the window closing) after the first moved row: that move stands, its row goes as
// "移动后移除列表" says, the other files stay where they were.
void TestFileOps::stopKeepsWhatIsDone() {
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("t"));
  for (int i = 0; i < 4; ++i) {
    env.File(QStringLiteral("a/%1.wav").arg(i), QByteArray::number(i));
    env.Row(QStringLiteral("a/%1.wav").arg(i));
  }
  env.list.Selection().ChangeSelection(1);
  env.checks.states[Caption::kRemoveAfterMove] = true;
  env.dialogs->QueueFolder(env.Path("t"));
  QObject::connect(&env.list, &SoundList::dataChanged, [] { LongJobGuard::RequestStop(); });
  const QStringList before = env.Inventory();
  env.ops.RunFileOperation(kOpMove);
  QCOMPARE(env.Inventory(), Env::Expect(before, {"a/3.wav>t/3.wav"}));
  QCOMPARE(env.Rows(), QStringList({"a/0.wav", "a/1.wav", "a/2.wav"}));
  QVERIFY(!LongJobGuard::StopRequested());
}

void TestFileOps::removeAll_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<int>("rowsAfter");
  QTest::newRow("ok") << 0 << 0;
  QTest::newRow("cancel") << 1 << 2;
}

void TestFileOps::removeAll() {
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

void TestFileOps::renameRowFile_data() {
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

void TestFileOps::renameRowFile() {
  QFETCH(QString, text);
  QFETCH(bool, accepted);
  QFETCH(QStringList, changes);
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("a/sub"));
  env.File("a/old.wav", "old");
  env.File("a/taken.wav", "taken");
  env.Row("a/old.wav");
  env.list.SetRenameHandler([&env](int row, const QString& t) {
    return env.ops.RenameRowFile(row, t);
  });
  const QStringList before = env.Inventory();

  QCOMPARE(env.list.setData(env.list.index(0, 0), text), accepted);

  QCOMPARE(env.Inventory(), Env::Expect(before, changes));
  QCOMPARE(env.list.RowFileName(0), accepted ? text : QStringLiteral("old.wav"));
  if (!accepted) {
    QCOMPARE(env.status.Message(), QStringLiteral("文件更名失败！请检查文件名格式是否包含非法字符，或该文件是否可写！"));
  } else if (!changes.isEmpty()) {
    QCOMPARE(env.status.Message(), QStringLiteral("文件【old.wav】更名为【") + text + "】");
  } else {
    QCOMPARE(env.status.Message(), QString());
  }
}

void TestFileOps::dropped() {
  Env env;
  MakeDir(env.Path("a"));
  MakeDir(env.Path("a/d"));
  env.File("a/x.wav", "x");
  env.Row("a/x.wav");
  QSignalSpy scrolled(&env.list.Selection(), &RowSelection::scrollToRowRequested);
  const QStringList before = env.Inventory();

  env.ops.AddDroppedFiles({env.Path("a/d/"), env.Path("a/gone.wav"), QString(), env.Path("a/x.wav")});

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

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
