// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTemporaryDir>
#include <QtTest>
#include <climits>

#include "Iconv.h"
#include "TestFiles.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/Files.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "rename/BatchRenamer.h"
#include "rename/RenameJournal.h"

namespace {

// Files in a temporary directory, each holding its own first name, with one row each.
struct Env {
  explicit Env(const QStringList& names) {
    for (const QString& name : names) {
      Outside(name);
      list.AddRow(name, dir.path());
    }
  }
  // QTemporaryDir cannot remove names that are not UTF-8.
  ~Env() {
    for (const QString& name : Files::Enumerate(dir.path()).files) Files::Delete(Path(name));
  }
  QString Path(const QString& name) const { return JoinPath(dir.path(), name); }
  // A file that no row shows.
  void Outside(const QString& name, const QByteArray& content = {}) {
    QVERIFY(
        WriteNative(ToNativePath(Path(name)), content.isEmpty() ? ToNativePath(name) : content));
  }
  // "name=content" of every file, in byte order: which file carries which name.
  QStringList Disk() const {
    QStringList entries;
    for (const QString& name : Files::Enumerate(dir.path()).files)
      entries << name + u'=' + FromNativePath(ReadNative(ToNativePath(Path(name))));
    return entries;
  }
  QStringList Rows() const {
    QStringList names;
    for (int row = 0; row < list.RowCount(); ++row) names << list.RowFileName(row);
    return names;
  }
  std::vector<PreviewPair> Preview(const RenameRule& rule, int limit = INT_MAX) {
    return renamer.RenameRun(rule, RunRows(list, false), RunMode::PreviewMode, limit).preview;
  }
  QStringList NewNames(const RenameRule& rule) {
    QStringList names;
    for (const PreviewPair& pair : Preview(rule)) names << pair.newName;
    return names;
  }
  // "rows processed/failures", or "busy".
  static QString Counts(const std::optional<RunResult>& r) {
    return r ? QStringLiteral("%1/%2").arg(r->rows).arg(r->failures) : QStringLiteral("busy");
  }
  QString Execute(const RenameRule& rule) {
    return Counts(renamer.RenameRun(rule, RunRows(list, false), RunMode::ExecuteMode).result);
  }
  QString Undo() { return Counts(renamer.UndoLast()); }

  QTemporaryDir dir;
  QTemporaryDir config;
  const QString journal = RenameJournalPath(config.path());
  SoundList list;
  RegexMatcher matcher;
  UndoList undo;
  BatchRenamer renamer{list, matcher, undo, journal};
};

QString Gbk(const QString& text) { return FromNativePath(EncodeAs("GBK", text)); }

// "n.wav" for n = from..to, or "n.wav=m.wav" (the file n holding m = n - shift) sorted as Disk().
QStringList Numbered(int from, int to, int shift = INT_MIN) {
  QStringList names;
  for (int n = from; n <= to; ++n)
    names << (shift == INT_MIN ? QStringLiteral("%1.wav").arg(n)
                               : QStringLiteral("%1.wav=%2.wav").arg(n).arg(n - shift));
  if (shift != INT_MIN) names.sort();
  return names;
}

using F = RenameFailure;
using K = RuleKind;

}  // namespace

class TestRename : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void formatNumber();
  void numbering();
  void newName();
  void bytesThatAreNotUtf8();
  void marksAndFailures();
  void shiftChainAndUndoInOnePass();
  void swapCycle();
  void killedRunRollsBackItsCycle();
  void stopCountsWhatWasDone();
  void undoNeverReplacesAndRetries();
  void undoAfterResortFollowsTheFiles();
  void busyJobRenamesNothing();
};

void TestRename::formatNumber() {
  const struct {
    qint64 n;
    bool letters;
    int width;
    QString text;
  } cases[] = {{1, true, 3, "A"},
               {26, true, 0, "Z"},
               {27, true, 0, "AA"},
               {53, true, 0, "BA"},
               {702, true, 0, "ZZ"},
               {703, true, 0, "AAA"},
               {0, true, 0, ""},
               {5, false, 3, "005"},
               {-5, false, 3, "-005"},
               {-7, false, 0, "-7"},
               {1234, false, 2, "1234"},  // all digits kept
               {LLONG_MIN, false, 2, "-9223372036854775808"}};
  for (const auto& c : cases)
    QCOMPARE(FormatNumber(c.n, NumberFormat{.letters = c.letters}, c.width), c.text);
}

// The fill width is that of the widest number of the whole run, whatever the preview limit.
void TestRename::numbering() {
  QStringList two, expression;
  for (int n = 1; n <= 12; ++n) {
    two << QStringLiteral("%1.wav").arg(n, 2, 10, QChar(u'0'));
    expression << QStringLiteral("kick_%1.wav").arg(n, 2, 10, QChar(u'0'));
  }
  const struct {
    RenameRule rule;
    int rows;
    QStringList names;
  } cases[] = {
      {{}, 9, Numbered(1, 9)},
      {{}, 12, two},
      // The width is the last number's, a "-" counted; longer numbers keep every digit.
      {{.start = 100, .interval = -10}, 5, {"100.wav", "90.wav", "80.wav", "70.wav", "60.wav"}},
      {{.start = -10}, 3, {"-10.wav", "-09.wav", "-08.wav"}},
      {{.start = 25, .format = {.letters = true, .lowercase = true}},
       4,
       {"y.wav", "z.wav", "aa.wav", "ab.wav"}},
      {{.start = 0, .format = {.letters = true}}, 2, {".wav", "A.wav"}},
      {{.start = INT_MAX, .interval = INT_MAX, .format = {.zeroFill = false}},
       3,
       {"2147483647.wav", "4294967294.wav", "6442450941.wav"}},
      {{.useExpression = true}, 12, expression},  // the main name ends at the first dot
  };
  for (const auto& c : cases) {
    Env env({});
    for (int i = 0; i < c.rows; ++i) env.list.AddRow("kick.01.wav", "/nowhere");
    QCOMPARE(env.NewNames(c.rule), c.names);
    QCOMPARE(env.Preview(c.rule, 1).front().newName, c.names.front());
  }
}

void TestRename::newName() {
  const auto insert = [](int p, bool fromEnd = false, bool skip = false) {
    return RenameRule{.kind = K::InsertRule,
                      .insertPosition = p,
                      .insertText = "X",
                      .insertFromEnd = fromEnd,
                      .skipOutOfRange = skip};
  };
  const auto erase = [](int p, int c, bool fromEnd = false, const QString& with = {}) {
    return RenameRule{.kind = K::DeleteRule,
                      .deletePosition = p,
                      .deleteCount = c,
                      .deleteReplacement = with,
                      .deleteFromEnd = fromEnd};
  };
  const auto replace = [](const QString& find, const QString& with, int count, bool cs = false) {
    return RenameRule{.kind = K::ReplaceRule,
                      .findText = find,
                      .replaceWith = with,
                      .replaceCount = count,
                      .caseSensitive = cs};
  };
  const auto regex = [](const QString& pattern, bool global, bool ignoreCase = false) {
    return RenameRule{.kind = K::RegexRule,
                      .pattern = pattern,
                      .regexReplacement = "[$1]",
                      .ignoreCase = ignoreCase,
                      .global = global};
  };
  const struct {
    QString name;
    RenameRule rule;
    QString result;
  } cases[] = {
      {"c", {}, "1"},
      {"wav_wav.wav", replace("wav", "mp3", -1), "mp3_mp3.mp3"},
      {"wav_wav.wav", replace("wav", "mp3", 1), "mp3_wav.wav"},
      {"kick_Kick.wav", replace("KICK", "x", 0), "x_x.wav"},
      {"kick_Kick.wav", replace("Kick", "x", 0, true), "kick_x.wav"},
      {"b.wav", replace("b", "#编号#目录路径", -1), "1#目录路径.wav"},
      {"abc.wav", insert(1), "Xabc.wav"},
      {"abc.wav", insert(4), "abcX.wav"},
      {"abc.wav", insert(9), "abcX.wav"},
      {"abc.wav", insert(4, false, true), "abc.wav"},
      {"abc.wav", insert(1, true), "abcX.wav"},
      {"abc.wav", insert(2, true), "abXc.wav"},
      {"鼓点.wav", insert(2), "鼓X点.wav"},
      {"😀b.wav", insert(2), "😀Xb.wav"},
      {".wav", insert(1), "X.wav"},
      {".wav", insert(1, false, true), ".wav"},
      {"kick.01.wav", insert(1), "Xkick.wav"},
      {"a.wav", {.kind = K::InsertRule, .insertText = "#目录名-"}, "drums-a.wav"},
      {"abcde.wav", erase(1, 2), "cde.wav"},
      {"abcde.wav", erase(1, 2, true), "abc.wav"},
      {"abcde.wav", erase(4, 5), "abc.wav"},
      {"abcde.wav", erase(7, 2, false, "Z"), "abcdeZ.wav"},
      {"abcde.wav", erase(2, 0, false, "Z"), "aZbcde.wav"},
      {"abcde.wav", erase(3, -1), "abbcde.wav"},
      {"a1b22.wav", regex("(\\d+)", false), "a[1]b22.wav"},
      {"a1b22.wav", regex("(\\d+)", true), "a[1]b[22].wav"},
      {"Kick.wav", regex("(kick)", false, true), "[Kick].wav"},
  };
  for (const auto& c : cases) {
    Env env({});
    env.list.AddRow(c.name, "/nowhere/drums");
    QCOMPARE(env.NewNames(c.rule), QStringList{c.result});
  }
}

// Bytes that the rule does not touch stay, in the preview and on disk, and undo restores them.
void TestRename::bytesThatAreNotUtf8() {
  const QString odd = FromNativePath(
      "a\xff"
      "b.wav");
  Env env({Gbk("鼓点") + ".wav", odd});
  const RenameRule insert{.kind = K::InsertRule, .insertPosition = 2, .insertText = "X"};
  QCOMPARE(env.NewNames(insert),
           (QStringList{Gbk("鼓") + "X" + Gbk("点") + ".wav", FromNativePath("aX\xff"
                                                                             "b.wav")}));
  const RenameRule replace{.kind = K::ReplaceRule, .findText = "点", .replaceWith = "y"};
  QCOMPARE(env.NewNames(replace).front(), Gbk("鼓") + "y.wav");

  const QStringList before = env.Disk();
  QCOMPARE(env.Execute(insert), "2/0");
  QCOMPARE(env.Disk(), (QStringList{FromNativePath("aX\xff"
                                                   "b.wav=") +
                                        odd,
                                    Gbk("鼓") + "X" + Gbk("点") + ".wav=" + Gbk("鼓点") + ".wav"}));
  QCOMPARE(env.Undo(), "2/0");
  QCOMPARE(env.Disk(), before);
}

// Each row is marked with the reason its rename would fail, the first rows from the plan of
// the whole run; the execution then fails exactly those rows and leaves their files.
void TestRename::marksAndFailures() {
  const struct {
    QStringList rows;
    QString outside;
    RenameRule rule;
    QList<F> failures;
  } cases[] = {
      {{"a.wav"}, {}, {.kind = K::InsertRule, .insertText = "x/"}, {F::kSeparator}},
      {{"a.wav"}, {}, {.kind = K::InsertRule, .insertText = QString(QChar(0))}, {F::kNul}},
      {{"a.wav"}, {}, {.kind = K::InsertRule, .insertText = QString(260, 'x')}, {F::kTooLong}},
      {{"a", "b"},
       {},
       {.kind = K::RegexRule, .pattern = "^a$", .regexReplacement = "."},
       {F::kDotName, F::kNone}},
      {{"a"}, {}, {.useExpression = true, .expression = ".."}, {F::kDotName}},
      {{"a"}, {}, {.useExpression = true, .expression = ""}, {F::kEmptyName}},
      {{"a.wav", "b.wav"},
       {},
       {.useExpression = true, .expression = "x.wav"},
       {F::kNone, F::kGivenEarlier}},
      {Numbered(1, 3), "4.wav", {.start = 2}, {F::kTakenByKept, F::kTakenByKept, F::kTakenOutside}},
      {{"a.wav", "1.wav"},
       {},
       {.useExpression = true, .expression = "1.wav"},
       {F::kTakenByKept, F::kNone}},
      {{QString(240, u'a') + "!.wav", "b.wav"},
       {},
       {.kind = K::RegexRule, .pattern = "^(\\w+\\s?)*$", .regexReplacement = "x"},
       {F::kGivenUp, F::kNone}},
      // The counter goes on past a failing row; a file listed twice is renamed once.
      {{"a.wav", "b.wav", "c.wav", "b.wav"},
       "2.wav",
       {},
       {F::kNone, F::kTakenOutside, F::kNone, F::kSameFile}},
  };
  for (const auto& c : cases) {
    Env env(c.rows);
    QStringList disk, rows;
    if (!c.outside.isEmpty()) {
      env.Outside(c.outside);
      disk << c.outside + u'=' + c.outside;
    }
    QCOMPARE(env.Preview(c.rule, 1).front().failure, c.failures.front());
    QList<F> failures;
    for (const PreviewPair& pair : env.Preview(c.rule)) {
      failures << pair.failure;
      QCOMPARE(FailureText(pair.failure).isEmpty(), pair.failure == F::kNone);
      rows << (pair.failure == F::kNone ? pair.newName : pair.oldName);
      disk << rows.back() + u'=' + pair.oldName;
    }
    QCOMPARE(failures, c.failures);
    const auto failed = c.failures.size() - c.failures.count(F::kNone);
    QCOMPARE(env.Execute(c.rule), QStringLiteral("%1/%2").arg(c.rows.size()).arg(failed));
    QCOMPARE(env.Rows(), rows);
    disk.removeDuplicates();
    disk.sort();
    QCOMPARE(env.Disk(), disk);
  }
}

void TestRename::shiftChainAndUndoInOnePass() {
  Env env(Numbered(1, 12));
  QCOMPARE(env.Execute({.start = 2, .format = {.zeroFill = false}}), "12/0");
  QCOMPARE(env.Disk(), Numbered(2, 13, 1));
  QCOMPARE(env.Rows(), Numbered(2, 13));
  QCOMPARE(env.Undo(), "12/0");
  QCOMPARE(env.Disk(), Numbered(1, 12, 0));
  QCOMPARE(env.Rows(), Numbered(1, 12));
  QCOMPARE(env.Undo(), "0/0");
}

void TestRename::swapCycle() {
  Env env(Numbered(1, 3));
  // 1 -> 3, 2 stays, 3 -> 1: a cycle, through a temporary name that must not remain.
  QCOMPARE(env.Execute({.start = 3, .interval = -1}), "3/0");
  QCOMPARE(env.Disk(), (QStringList{"1.wav=3.wav", "2.wav=2.wav", "3.wav=1.wav"}));
  QCOMPARE(env.Rows(), (QStringList{"3.wav", "2.wav", "1.wav"}));
  QVERIFY(!Files::NameTaken(env.journal));
  // The name that stays is a rename too, and is undone with the others.
  QCOMPARE(env.Undo(), "3/0");
  QCOMPARE(env.Disk(), Numbered(1, 3, 0));
}

// A run killed after `kill` renames: 9 -> 6 directly, then the cycles 3 -> 1 -> 2 -> 3 and
// 5 -> 4 -> 5, journalled together before the first. The start that follows gives the files of
// the cycle caught halfway their old names and leaves the others as they are.
void TestRename::killedRunRollsBackItsCycle() {
  const QStringList direct{"1.wav=1.wav", "2.wav=2.wav", "3.wav=3.wav",
                           "4.wav=4.wav", "5.wav=5.wav", "6.wav=9.wav"};
  const QStringList firstDone{"1.wav=3.wav", "2.wav=1.wav", "3.wav=2.wav",
                              "4.wav=4.wav", "5.wav=5.wav", "6.wav=9.wav"};
  const QStringList allDone{"1.wav=3.wav", "2.wav=1.wav", "3.wav=2.wav",
                            "4.wav=5.wav", "5.wav=4.wav", "6.wav=9.wav"};
  const struct {
    int kill;
    int restored;
    QStringList disk;
  } cases[] = {{1, 0, direct},    {2, 2, direct},    {3, 3, direct},
               {4, 0, firstDone}, {5, 2, firstDone}, {6, 0, allDone}};
  for (const auto& c : cases) {
    Env env({"3.wav", "1.wav", "2.wav", "5.wav", "4.wav", "9.wav"});
    // What the disk holds when the process dies: its files and the journal.
    QStringList killed;
    QByteArray journal;
    int renames = 0;
    QObject::connect(&env.list, &SoundList::dataChanged, [&] {
      if (++renames != c.kill) return;
      killed = env.Disk();
      if (Files::NameTaken(env.journal)) journal = ReadNative(ToNativePath(env.journal));
    });
    QCOMPARE(env.Execute({}), "6/0");
    QCOMPARE(env.Disk(), allDone);
    QVERIFY(!Files::NameTaken(env.journal));
    QCOMPARE(journal.isEmpty(), c.kill == 1);

    for (const QString& name : Files::Enumerate(env.dir.path()).files)
      QVERIFY(Files::Delete(env.Path(name)));
    for (const QString& entry : killed)
      env.Outside(entry.section(u'=', 0, 0), entry.section(u'=', 1).toUtf8());
    if (!journal.isEmpty()) QVERIFY(WriteNative(ToNativePath(env.journal), journal));
    const QString note = RecoverRenameJournal(env.journal);
    QCOMPARE(note.isEmpty(), c.restored == 0);
    QVERIFY(note.isEmpty() || note.contains(QString::number(c.restored)));
    QCOMPARE(env.Disk(), c.disk);
    QVERIFY(!Files::NameTaken(env.journal));
  }
}

// After a stop the counts are of the rows processed, and undo takes back just those.
void TestRename::stopCountsWhatWasDone() {
  Env env(Numbered(1, 5));
  int changed = 0;
  QObject::connect(&env.list, &SoundList::dataChanged, [&] {
    if (++changed == 2) LongJobGuard::RequestStop();
  });
  QCOMPARE(env.Execute({.start = 11}), "2/0");
  QCOMPARE(env.Disk(), (QStringList{"11.wav=1.wav", "12.wav=2.wav", "3.wav=3.wav", "4.wav=4.wav",
                                    "5.wav=5.wav"}));
  QCOMPARE(env.Undo(), "2/0");
  QCOMPARE(env.Disk(), Numbered(1, 5, 0));
}

void TestRename::undoNeverReplacesAndRetries() {
  Env env({"b.wav", "a.wav"});
  // b -> c, then a -> b: undone, c may go back to b only once b has gone back to a.
  const NumberFormat lower{.letters = true, .lowercase = true};
  QCOMPARE(env.Execute({.start = 3, .interval = -1, .format = lower}), "2/0");
  QCOMPARE(env.Disk(), (QStringList{"b.wav=a.wav", "c.wav=b.wav"}));
  env.Outside("a.wav", "new");  // appeared meanwhile
  QCOMPARE(env.Undo(), "2/2");
  QCOMPARE(env.Disk(), (QStringList{"a.wav=new", "b.wav=a.wav", "c.wav=b.wav"}));
  QCOMPARE(env.Rows(), (QStringList{"c.wav", "b.wav"}));
  QVERIFY(Files::Delete(env.Path("a.wav")));
  QCOMPARE(env.Undo(), "2/0");
  QCOMPARE(env.Disk(), (QStringList{"a.wav=a.wav", "b.wav=b.wav"}));
  QCOMPARE(env.Rows(), (QStringList{"b.wav", "a.wav"}));
}

void TestRename::undoAfterResortFollowsTheFiles() {
  Env env({"a.wav", "b.wav", "c.wav"});
  QCOMPARE(env.Execute({}), "3/0");
  env.list.ApplyOrder({2, 0, 1});
  QCOMPARE(env.Undo(), "3/0");
  QCOMPARE(env.Rows(), (QStringList{"c.wav", "a.wav", "b.wav"}));
  QCOMPARE(env.Disk(), (QStringList{"a.wav=a.wav", "b.wav=b.wav", "c.wav=c.wav"}));
}

void TestRename::busyJobRenamesNothing() {
  Env env({"a.wav"});
  QCOMPARE(env.Execute({}), "1/0");
  const LongJobGuard other;
  QCOMPARE(env.Execute({.start = 5}), "busy");
  QCOMPARE(env.Undo(), "busy");
  QCOMPARE(env.Disk(), QStringList{"1.wav=a.wav"});
  QCOMPARE(env.undo.size(), size_t(1));
}

QTEST_GUILESS_MAIN(TestRename)
#include "tst_rename.moc"
