// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The directory scan against real temporary trees, with an inventory of the files before and
// after each run.
#include <sys/stat.h>

#include "FileOpsEnv.h"
#include "Iconv.h"
#include "match/RegexMatcher.h"
#include "scan/DirectoryScan.h"

namespace {

// The window as the scan sees it: a directory list and the options, recording what it shows.
struct Port : ScanWindowPort {
  struct Entry {
    QString text;
    bool checked;
  };
  std::vector<Entry> entries;
  ScanOptions options;
  bool clearFirst = false;
  QStringList captions;
  QList<bool> running;

  int DirectoryCount() const override { return int(entries.size()); }
  bool DirectoryChecked(int i) const override { return entries[size_t(i)].checked; }
  QString DirectoryText(int i) const override { return entries[size_t(i)].text; }
  ScanOptions ReadOptions() const override { return options; }
  bool ClearListFirst() const override { return clearFirst; }
  void SetRunning(bool on) override { running << on; }
  void SetCaption(const QString& caption) override { captions << caption; }
};

struct ScanEnv : Env {
  RegexMatcher matcher;
  DirectoryScan scan{list, status, matcher};
  Port port;

  // Scans rel (checked) with the port's options; "<T>" in the expression is the temporary
  // directory.
  bool Run(const QString& rel) {
    port.entries.push_back({Path(rel), true});
    port.options.expression.replace(QStringLiteral("<T>"), dir.path());
    return scan.RunScan(port);
  }
  QString Tally() const {
    const ScanTally& t = scan.Tally();
    return QStringLiteral("%1 %2 %3 %4").arg(t.taken).arg(t.moved).arg(t.copied).arg(t.failed);
  }
};

ScanOptions Options(const QString& flags, const QString& filter = {},
                    const QString& expression = {}) {
  ScanOptions o;
  o.filter = filter;
  o.expression = expression;
  o.recurse = flags.contains(u'r');
  o.copy = flags.contains(u'c');
  o.smartRename = flags.contains(u's');
  o.quiet = flags.contains(u'q');
  o.load = flags.contains(u'l');
  return o;
}

}  // namespace

Q_DECLARE_METATYPE(ScanOptions)

class ScanTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // What a run takes, where the files go and which rows it adds. Changes as in Env::Expect,
  // plus "d/" for each directory the run creates.
  void takesAndClassifies_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<ScanOptions>("options");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("tally");    // taken moved copied failed
    QTest::addColumn<QString>("refusal");  // what the message of a refused run names
    const QString wavMid = QStringLiteral("*.wav|*.mid");
    QTest::newRow("filter by whole name, any case")
        << QStringList{"s/a.WAV", "s/a.mp3", "s/a.wav.bak", "s/b.mid"} << Options("l", wavMid)
        << QStringList{} << QStringList{"s/a.WAV", "s/b.mid"} << "2 0 0 0" << QString();
    QTest::newRow("no filter takes every file")
        << QStringList{"s/a.mp3", "s/b.txt"} << Options("l") << QStringList{}
        << QStringList{"s/a.mp3", "s/b.txt"} << "2 0 0 0" << QString();
    QTest::newRow("classified by extension, both directories created")
        << QStringList{"s/x.wav"} << Options("ls", wavMid, "<T>/声音/#扩展名 音频")
        << QStringList{"声音/", "声音/wav 音频/", "s/x.wav>声音/wav 音频/x.wav"}
        << QStringList{"声音/wav 音频/x.wav"} << "1 1 0 0" << QString();
    QTest::newRow("no tokens, copied into one directory")
        << QStringList{"s/a.wav", "s/b.mid"} << Options("lcs", {}, "<T>/out/")
        << QStringList{"out/", "s/a.wav+out/a.wav", "s/b.mid+out/b.mid"}
        << QStringList{"out/a.wav", "out/b.mid"} << "2 0 2 0" << QString();
    QTest::newRow("#编号 stays as written")
        << QStringList{"s/a.wav"} << Options("", {}, "<T>/#编号")
        << QStringList{"#编号/", "s/a.wav>#编号/a.wav"} << QStringList{} << "1 1 0 0" << QString();
    QTest::newRow("smart rename tries numbers until free")
        << QStringList{"s/x.wav", "out/x.wav", "out/x_1.wav"} << Options("ls", {}, "<T>/out")
        << QStringList{"s/x.wav>out/x_2.wav"} << QStringList{"out/x_2.wav"} << "1 1 0 0"
        << QString();
    QTest::newRow("without smart rename the newcomer replaces")
        << QStringList{"s/x.wav", "out/x.wav"} << Options("l", {}, "<T>/out")
        << QStringList{"s/x.wav>out/x.wav"} << QStringList{"out/x.wav"} << "1 1 0 0" << QString();
    QTest::newRow("subdirectories only with recursion")
        << QStringList{"s/a.wav", "s/sub/b.wav"} << Options("l") << QStringList{}
        << QStringList{"s/a.wav"} << "1 0 0 0" << QString();
    QTest::newRow("files before subdirectories, depth first")
        << QStringList{"s/z.wav", "s/a/b/c.wav", "s/a/d.wav", "s/b/e.wav"} << Options("rl")
        << QStringList{} << QStringList{"s/z.wav", "s/a/d.wav", "s/a/b/c.wav", "s/b/e.wav"}
        << "4 0 0 0" << QString();
    QTest::newRow("target inside the tree moves each file once")
        << QStringList{"s/a.wav", "s/sub/b.wav"} << Options("rls", {}, "#目录路径/#扩展名 文件")
        << QStringList{"s/wav 文件/", "s/sub/wav 文件/", "s/a.wav>s/wav 文件/a.wav",
                       "s/sub/b.wav>s/sub/wav 文件/b.wav"}
        << QStringList{"s/wav 文件/a.wav", "s/sub/wav 文件/b.wav"} << "2 2 0 0" << QString();
    QTest::newRow("copy onto itself takes a numbered name")
        << QStringList{"s/a.wav"} << Options("lcs", {}, "#目录路径")
        << QStringList{"s/a.wav+s/a_1.wav"} << QStringList{"s/a_1.wav"} << "1 0 1 0" << QString();
    QTest::newRow("a target from Windows is refused, nothing created where the run started")
        << QStringList{"s/a.wav"} << Options("l", {}, "F:\\声音\\#扩展名 音频") << QStringList{}
        << QStringList{} << "0 0 0 0"
        << "“F:\\声音\\#扩展名 音频”";
  }
  void takesAndClassifies() {
    QFETCH(QStringList, files);
    QFETCH(ScanOptions, options);
    QFETCH(QStringList, changes);
    ScanEnv env;
    for (const QString& file : files) {
      QDir().mkpath(env.Path(file.section(u'/', 0, -2)));
      env.File(file, file.toUtf8());
    }
    const QStringList before = env.Inventory();
    env.port.options = options;
    QFETCH(QString, refusal);
    // Where the run starts is inside the inventory, so a relative target would show.
    QDir::setCurrent(env.dir.path());
    QCOMPARE(env.Run(QStringLiteral("s")), refusal.isEmpty());

    QStringList moves, created;
    for (const QString& change : changes) (change.endsWith(u'/') ? created : moves) << change;
    QStringList expected = Env::Expect(before, moves) + created;
    expected.sort();
    QCOMPARE(env.Inventory(), expected);
    QFETCH(QStringList, rows);
    QFETCH(QString, tally);
    QCOMPARE(env.Rows(), rows);
    QCOMPARE(env.Tally(), tally);
    const QString said = env.dialogs->prompts.last().text;
    if (!refusal.isEmpty()) {
      QVERIFY2(said.contains(refusal), qPrintable(said));
      return;
    }
    QCOMPARE(env.port.running, (QList<bool>{true, false}));
    QCOMPARE(env.port.captions.last(), QStringLiteral("检索目录"));
    QVERIFY(said.startsWith(QStringLiteral("共运行了 ")));
  }

  // The list is emptied once at the start, only when loading with clear-first, even when no
  // directory is checked; a run with none checked ends at once.
  void clearFirstAndUncheckedEntries() {
    for (const bool clear : {false, true}) {
      ScanEnv env;
      env.File(QStringLiteral("old.wav"), "x");
      env.Row(QStringLiteral("old.wav"));
      env.port.entries = {{env.dir.path(), false}};
      env.port.clearFirst = clear;
      QVERIFY(env.scan.RunScan(env.port));
      QCOMPARE(env.list.RowCount(), clear ? 0 : 1);
      QCOMPARE(env.port.captions, QStringList{QStringLiteral("检索目录")});
    }
  }

  // A stop asked for while a file is in hand: that file is finished, no further file is
  // touched, the caption shows that file's name and the run reports it was stopped.
  void stopFinishesTheFileInHand() {
    ScanEnv env;
    QDir().mkpath(env.Path(QStringLiteral("s")));
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
      env.File(QString("s/") + name, QByteArray(name));
    env.port.options = Options("l", {}, QStringLiteral("<T>/out"));
    int moves = 0;
    Files::SetMoveSeam(
        [&moves](Files::MoveStage stage) {
          if (stage == Files::MoveStage::kStart && ++moves == 2) RequestScanStop();
        },
        false);
    QVERIFY(!env.Run(QStringLiteral("s")));
    QCOMPARE(env.Rows(), (QStringList{"out/a.wav", "out/b.wav"}));
    QVERIFY(QFile::exists(env.Path(QStringLiteral("s/c.wav"))));
    QCOMPARE(env.port.captions.last(), QStringLiteral("b.wav"));
    QVERIFY(!ScanStopRequested());
  }

  // Faults in the tree: a link loop, a FIFO under a sound name, a missing listed directory, an
  // empty and a relative entry end nothing; each is counted and no file moves.
  void faultsAreCountedNotFatal() {
    ScanEnv env;
    QDir().mkpath(env.Path(QStringLiteral("s/d")));
    env.File(QStringLiteral("s/d/a.wav"), "a");
    QVERIFY(QFile::link(env.Path(QStringLiteral("s")), env.Path(QStringLiteral("s/d/loop"))));
    QCOMPARE(::mkfifo(ToNativePath(env.Path(QStringLiteral("s/p.wav"))).constData(), 0644), 0);
    // "s" names the same directory from where the run starts, but is not read that way.
    QDir::setCurrent(env.dir.path());
    env.port.entries = {{env.Path(QStringLiteral("missing")), true},
                        {QString(), true},
                        {QStringLiteral("s"), true}};
    env.port.options = Options("rl", QStringLiteral("*.wav"));
    const QStringList before = env.Inventory();
    QVERIFY(env.Run(QStringLiteral("s")));
    QCOMPARE(env.Inventory(), before);
    QCOMPARE(env.Rows(), QStringList{QStringLiteral("s/d/a.wav")});
    QCOMPARE(env.Tally(), QStringLiteral("1 0 0 4"));
    QVERIFY(env.dialogs->prompts.last().text.endsWith(QStringLiteral("未检索：“”、“s”")));
  }

  // Names that are not UTF-8 are filtered by their characters and copied with their bytes.
  void gbkNameKeepsItsBytes() {
    ScanEnv env;
    QDir().mkpath(env.Path(QStringLiteral("s")));
    const QString gbk = FromNativePath(EncodeAs("GBK", QStringLiteral("鼓声.WAV")));
    env.File(QStringLiteral("s/") + gbk, "drum");
    const QStringList before = env.Inventory();
    env.port.options = Options("lc", QStringLiteral("鼓*.wav"), QStringLiteral("<T>/out"));
    QVERIFY(env.Run(QStringLiteral("s")));
    QStringList expected = Env::Expect(before, {"s/" + gbk + "+out/" + gbk}) << "out/";
    expected.sort();
    QCOMPARE(env.Inventory(), expected);
    QCOMPARE(env.Rows(), QStringList{"out/" + gbk});
  }

  // A 2,000-level tree is walked without exhausting the stack.
  void deepTree() {
    ScanEnv env;
    QString path = env.Path(QStringLiteral("s"));
    for (int i = 0; i < 2000; ++i) path += QStringLiteral("/d");
    QVERIFY(QDir().mkpath(path));
    env.File(path.mid(env.dir.path().size() + 1) + QStringLiteral("/deep.wav"), "x");
    env.port.options = Options("rl");
    QVERIFY(env.Run(QStringLiteral("s")));
    QCOMPARE(env.list.RowCount(), 1);
  }

  // Missing directories along a path are created up to the first that cannot be.
  void createDirectoryPath() {
    ScanEnv env;
    QStringList created;
    CreateDirectoryPath(env.Path(QStringLiteral("a/b/c/")),
                        [&created](const QString& d) { created << d; });
    QCOMPARE(created, (QStringList{env.Path("a"), env.Path("a/b"), env.Path("a/b/c")}));
    env.File(QStringLiteral("f"), "");
    CreateDirectoryPath(env.Path(QStringLiteral("f/x/y/")));
    QVERIFY(!QFileInfo::exists(env.Path(QStringLiteral("f/x"))));
  }

  // Run as an unprivileged user: a subdirectory that cannot be read is counted and skipped; the
  // files of one that can be read but not searched get their rows, without sizes.
  void unreadableSubdirectory_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<qint64>("lastSize");
    QTest::addColumn<QString>("tally");
    QTest::newRow("not readable") << int(QFileDevice::WriteOwner) << QStringList{"s/b.wav"}
                                  << qint64(1) << "1 0 0 1";
    QTest::newRow("listed, not inspectable")
        << int(QFileDevice::ReadOwner) << QStringList{"s/b.wav", "s/closed/a.wav"} << qint64(-1)
        << "2 0 0 1";
  }
  void unreadableSubdirectory() {
    if (::geteuid() == 0) QSKIP("root reads every directory");
    QFETCH(int, mode);
    ScanEnv env;
    QDir().mkpath(env.Path(QStringLiteral("s/closed")));
    env.File(QStringLiteral("s/closed/a.wav"), "a");
    env.File(QStringLiteral("s/b.wav"), "b");
    QVERIFY(QFile::setPermissions(env.Path(QStringLiteral("s/closed")),
                                  QFileDevice::Permissions(QFlag(mode))));
    env.port.options = Options("rl");
    QVERIFY(env.Run(QStringLiteral("s")));
    QFile::setPermissions(env.Path(QStringLiteral("s/closed")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QTEST(env.Rows(), "rows");
    QTEST(env.list.RowSize(env.list.RowCount() - 1), "lastSize");
    QTEST(env.Tally(), "tally");
  }
};

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
