// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestFiles.h"
#include "platform/Files.h"
#include "platform/NativePath.h"

namespace {

bool Write(const QString& path, const QByteArray& data, mode_t mode = 0644) {
  return WriteNative(ToNativePath(path), data, mode);
}

QByteArray Read(const QString& path) { return ReadNative(ToNativePath(path)); }

mode_t Mode(const QString& path) {
  struct stat st;
  return ::stat(ToNativePath(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

dev_t Device(const QString& path) {
  struct stat st;
  return ::stat(ToNativePath(path).constData(), &st) == 0 ? st.st_dev : dev_t(-1);
}

void SetModificationTime(const QString& path, time_t seconds) {
  const timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
  QCOMPARE(::utimensat(AT_FDCWD, ToNativePath(path).constData(), times, 0), 0);
}

// QTemporaryDir removes by Qt's decoding of the names, which cannot name every byte sequence.
void RemoveTree(const QString& dir) {
  const Files::Listing l = Files::Enumerate(dir);
  for (const QString& sub : l.subdirs) RemoveTree(dir + QLatin1Char('/') + sub);
  for (const QStringList* names : {&l.files, &l.linkedDirs})
    for (const QString& name : *names) Files::Delete(dir + QLatin1Char('/') + name);
  // What Enumerate leaves out (FIFOs, dangling links) goes by plain unlink.
  if (DIR* d = ::opendir(ToNativePath(dir).constData())) {
    while (const dirent* e = ::readdir(d)) ::unlinkat(dirfd(d), e->d_name, 0);
    ::closedir(d);
  }
  ::rmdir(ToNativePath(dir).constData());
}

// Everything in a directory, hidden names too: a copy must leave no temporary file behind.
QStringList AllEntries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

}  // namespace

class TestPlatform : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }
  void cleanup() {
    Files::SetMoveSeam({}, false);
    RemoveTree(dir_->path());
    dir_.reset();
  }

  void nativePathRoundTrip_data();
  void nativePathRoundTrip();
  void nativePathEscapes();

  void sizeIs64Bit();
  void basics();
  void pathWithNulIsRefused();
  void moveAcrossFileSystems();
  void moveWhileFilesChange_data();
  void moveWhileFilesChange();
  void copyReplacesAndKeepsMode();
  void copyKeepsDataModeAndTimes_data();
  void copyKeepsDataModeAndTimes();
  void failedCopyKeepsTarget_data();
  void failedCopyKeepsTarget();
  void renameNeverReplaces();
  void copyNoReplaceNeverReplaces();
  void sameFileIsLeftAlone_data();
  void sameFileIsLeftAlone();
  void oddNames_data();
  void oddNames();
  void enumerateSeparatesAndSorts();
  void noDescriptorLeaks();

 private:
  QString Path(const QString& name) const { return dir_->path() + QLatin1Char('/') + name; }
  std::unique_ptr<QTemporaryDir> dir_;
};

void TestPlatform::nativePathRoundTrip_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("validUtf8");
  QTest::newRow("ascii") << QByteArray("bell.wav") << true;
  QTest::newRow("chinese") << QByteArray("声音/短音.wav") << true;
  QTest::newRow("four-byte") << QByteArray("\xf0\x9f\x8e\xb5.mid") << true;
  QTest::newRow("gbk") << QByteArray("\xc9\xf9\xd2\xf4.wav") << false;
  QTest::newRow("lone continuation") << QByteArray("a\x80z") << false;
  QTest::newRow("truncated") << QByteArray("a\xe4\xb8") << false;
  QTest::newRow("overlong") << QByteArray("\xc0\xaf") << false;
  QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << false;
  QTest::newRow("encoded escape") << QByteArray("\xed\xb3\xbf") << false;
  QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
  QTest::newRow("all high bytes") << [] {
    QByteArray b;
    for (int c = 0x80; c <= 0xFF; ++c) b.append(char(c));
    return b;
  }() << false;
}

void TestPlatform::nativePathRoundTrip() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, validUtf8);
  const QString text = FromNativePath(bytes);
  QCOMPARE(ToNativePath(text), bytes);
  if (validUtf8) QCOMPARE(text, QString::fromUtf8(bytes));
}

void TestPlatform::nativePathEscapes() {
  QCOMPARE(FromNativePath("a\xff"), QString::fromUtf16(u"a\xdcff"));
  // A valid pair followed by an escape stays a pair and a byte.
  QCOMPARE(ToNativePath(QString::fromUtf16(u"\xd83c\xdfb5\xdc80")),
           QByteArray("\xf0\x9f\x8e\xb5\x80"));
  // A lone surrogate that no name produced still encodes to something valid.
  QCOMPARE(ToNativePath(QString::fromUtf16(u"a\xd800")), QByteArray("a\xef\xbf\xbd"));
}

void TestPlatform::sizeIs64Bit() {
  const QString big = Path(QStringLiteral("big.wav"));
  QFile f(big);
  QVERIFY(f.open(QIODevice::WriteOnly));
  const qint64 threeGiB = qint64(3) << 30;
  QVERIFY(f.resize(threeGiB));  // sparse: nothing is written
  f.close();
  QCOMPARE(Files::Size(big), threeGiB);
  QCOMPARE(Files::Size(Path(QStringLiteral("missing.wav"))), qint64(-1));
}

void TestPlatform::basics() {
  const QString file = Path(QStringLiteral("a.wav"));
  const QString sub = Path(QStringLiteral("sub"));
  QVERIFY(Write(file, "abc"));
  QVERIFY(Files::Exists(file));
  QVERIFY(!Files::IsDirectory(file));
  QVERIFY(Files::CreateDirectory(sub));
  QVERIFY(!Files::CreateDirectory(sub));
  QVERIFY(!Files::CreateDirectory(Path(QStringLiteral("no/such"))));
  QVERIFY(Files::IsDirectory(sub) && Files::Exists(sub));
  QVERIFY(!Files::Delete(sub));  // unlink never removes a directory
  QVERIFY(Files::Delete(file));
  QVERIFY(!Files::Exists(file));
  QVERIFY(!Files::Delete(file));
}

void TestPlatform::pathWithNulIsRefused() {
  const QString file = Path(QStringLiteral("a.wav"));
  QVERIFY(Write(file, "abc"));
  const QString cut = file + QChar(0) + QStringLiteral("/../other");
  QVERIFY(!Files::Exists(cut));
  QVERIFY(!Files::Delete(cut));
  QVERIFY(!Files::Copy(cut, Path(QStringLiteral("b.wav"))));
  QVERIFY(Files::Exists(file));
  QVERIFY(!Files::Exists(QString()));
}

void TestPlatform::moveAcrossFileSystems() {
  QString otherRoot;
  for (const char* candidate : {"/dev/shm", "/tmp", "/run"}) {
    const QString c = QString::fromLatin1(candidate);
    if (Files::IsDirectory(c) && Device(c) != Device(dir_->path())) {
      otherRoot = c;
      break;
    }
  }
  if (otherRoot.isEmpty()) QSKIP("no second file system beside the temporary directory");
  QTemporaryDir other(otherRoot + QStringLiteral("/tst_platform-XXXXXX"));
  QVERIFY(other.isValid());

  const QString from = Path(QStringLiteral("bell.wav"));
  const QString to = other.path() + QStringLiteral("/bell.wav");
  const QByteArray data(300000, 'x');
  QVERIFY(Write(from, data, 0640));
  QVERIFY(Write(to, "old"));
  QVERIFY(Files::Move(from, to));
  QVERIFY(!Files::Exists(from));
  QCOMPARE(Read(to), data);
  QCOMPARE(Mode(to), mode_t(0640));
  QCOMPARE(AllEntries(other.path()), QStringList{QStringLiteral("bell.wav")});

  // A directory is not copied across: the move fails and leaves it in place.
  const QString subdir = Path(QStringLiteral("sub"));
  QVERIFY(Files::CreateDirectory(subdir));
  QVERIFY(!Files::Move(subdir, other.path() + QStringLiteral("/sub")));
  QVERIFY(Files::IsDirectory(subdir));
}

// Moves while the files change: the target name taken before the move or as it starts, or the
// source changed (each change alone) between its copy and its removal. Nothing is replaced, a
// changed source stays, and no temporary file is left.
void TestPlatform::moveWhileFilesChange_data() {
  QTest::addColumn<bool>("copy");  // as across file systems
  QTest::addColumn<QString>("change");
  for (const char* change : {"", "taken before", "taken at start"})
    QTest::addRow("rename, %s", change) << false << change;
  for (const char* change : {"", "taken at start", "replaced", "grown", "touched"})
    QTest::addRow("copy, %s", change) << true << change;
}

void TestPlatform::moveWhileFilesChange() {
  QFETCH(bool, copy);
  QFETCH(QString, change);
  const QString from = Path(QStringLiteral("a.wav"));
  const QString to = Path(QStringLiteral("b.wav"));
  const QString other = Path(QStringLiteral("c.wav"));
  QVERIFY(Write(from, "A") && Write(other, "C"));
  for (const QString& file : {from, other}) SetModificationTime(file, 1000000000);
  if (change == "taken before") QVERIFY(Write(to, "B"));
  QByteArray source = "A";
  Files::SetMoveSeam(
      [&](Files::MoveStage stage) {
        if (stage == Files::MoveStage::kStart && change == "taken at start") Write(to, "B");
        if (stage != Files::MoveStage::kCopied) return;
        if (change == "replaced") ::rename(ToNativePath(other), ToNativePath(from));
        if (change == "replaced") source = "C";
        if (change == "grown") Write(from, source = "AA");
        SetModificationTime(from, change == "touched" ? 1000000060 : 1000000000);
      },
      copy);

  bool taken = false;
  const bool moved = Files::MoveNoReplace(from, to, &taken);
  QCOMPARE(moved, change.isEmpty());
  QCOMPARE(taken, change.startsWith("taken"));
  QCOMPARE(Read(from), moved ? QByteArray("<missing>") : source);
  QCOMPARE(Read(to), taken ? QByteArray("B") : QByteArray("A"));
  QCOMPARE(AllEntries(dir_->path()).size(), 1 + !moved + (change != "replaced"));
}

void TestPlatform::copyReplacesAndKeepsMode() {
  const QString from = Path(QStringLiteral("a.wav"));
  const QString to = Path(QStringLiteral("b.wav"));
  QVERIFY(Write(from, "new data", 0750));
  QVERIFY(Write(to, "old"));
  QVERIFY(Files::Copy(from, to));
  QCOMPARE(Read(to), QByteArray("new data"));
  QCOMPARE(Read(from), QByteArray("new data"));
  QCOMPARE(Mode(to), mode_t(0750));
  QCOMPARE(AllEntries(dir_->path()),
           (QStringList{QStringLiteral("a.wav"), QStringLiteral("b.wav")}));

  QVERIFY(Write(from, ""));
  QVERIFY(Files::Copy(from, to));
  QCOMPARE(Files::Size(to), qint64(0));
}

// Every way a copy takes its name gives the source's bytes, mode and modification time, and
// leaves nothing else in the directory.
void TestPlatform::copyKeepsDataModeAndTimes_data() {
  QTest::addColumn<QString>("source");  // empty: a file written here
  QTest::addColumn<int>("bytes");
  QTest::addColumn<bool>("replace");  // Copy over an existing target, else CopyNoReplace
  QTest::newRow("free name") << QString() << 1024 << false;
  QTest::newRow("free name, empty") << QString() << 0 << false;
  QTest::newRow("free name, larger than a buffer") << QString() << (600 << 10) + 1 << false;
  QTest::newRow("over a file") << QString() << 1024 << true;
  // A size of 0 with content: the copy reads to the end instead of trusting the size.
  QTest::newRow("size unknown") << QStringLiteral("/proc/version") << 0 << false;
}

void TestPlatform::copyKeepsDataModeAndTimes() {
  QFETCH(QString, source);
  QFETCH(int, bytes);
  QFETCH(bool, replace);
  QByteArray data;
  for (int i = 0; i < bytes; ++i) data.append(char('a' + i % 26));
  const QString from = source.isEmpty() ? Path(QStringLiteral("a.wav")) : source;
  const QString to = Path(QStringLiteral("b.wav"));
  if (source.isEmpty()) {
    QVERIFY(Write(from, data, 0751));
    SetModificationTime(from, 1000000000);
  } else {
    data = Read(from);
    QVERIFY(!data.isEmpty());
  }
  if (replace) QVERIFY(Write(to, "old"));
  QVERIFY(replace ? Files::Copy(from, to) : Files::CopyNoReplace(from, to));
  QCOMPARE(Read(to), data);
  struct stat a, b;
  QCOMPARE(::stat(ToNativePath(from).constData(), &a), 0);
  QCOMPARE(::stat(ToNativePath(to).constData(), &b), 0);
  QCOMPARE(b.st_mode, a.st_mode);
  QCOMPARE(b.st_mtim.tv_sec, a.st_mtim.tv_sec);
  QCOMPARE(b.st_mtim.tv_nsec, a.st_mtim.tv_nsec);
  QStringList expected{QStringLiteral("b.wav")};
  if (source.isEmpty()) expected.prepend(QStringLiteral("a.wav"));
  QCOMPARE(AllEntries(dir_->path()), expected);
}

void TestPlatform::failedCopyKeepsTarget_data() {
  QTest::addColumn<QString>("source");
  QTest::newRow("missing source") << QStringLiteral("missing.wav");
  QTest::newRow("directory") << QStringLiteral("sub");
  QTest::newRow("fifo") << QStringLiteral("fifo");
  // A regular file whose read fails part-way: the temporary file exists by then.
  QTest::newRow("read error") << QStringLiteral("/proc/self/mem");
}

void TestPlatform::failedCopyKeepsTarget() {
  QFETCH(QString, source);
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("sub"))));
  QCOMPARE(::mkfifo(ToNativePath(Path(QStringLiteral("fifo"))).constData(), 0644), 0);
  const QString from = source.startsWith(QLatin1Char('/')) ? source : Path(source);
  const QString to = Path(QStringLiteral("target.wav"));
  QVERIFY(Write(to, "keep me"));
  const QStringList before = AllEntries(dir_->path());
  QVERIFY(!Files::Copy(from, to));
  QCOMPARE(Read(to), QByteArray("keep me"));
  QCOMPARE(AllEntries(dir_->path()), before);
  QVERIFY(!Files::Copy(Path(QStringLiteral("target.wav")), Path(QStringLiteral("no/dir/x.wav"))));
  QVERIFY(!Files::Copy(to, Path(QStringLiteral("sub"))));
  QVERIFY(Files::IsDirectory(Path(QStringLiteral("sub"))));
}

void TestPlatform::renameNeverReplaces() {
  const QString a = Path(QStringLiteral("a.wav"));
  const QString b = Path(QStringLiteral("b.wav"));
  const QString c = Path(QStringLiteral("c.wav"));
  QVERIFY(Write(a, "A"));
  QVERIFY(Write(b, "B"));
  QVERIFY(!Files::RenameNoReplace(a, b));
  QCOMPARE(Read(a), QByteArray("A"));
  QCOMPARE(Read(b), QByteArray("B"));
  QVERIFY(Files::RenameNoReplace(a, c));
  QVERIFY(!Files::Exists(a));
  QCOMPARE(Read(c), QByteArray("A"));
  QVERIFY(!Files::RenameNoReplace(a, Path(QStringLiteral("d.wav"))));
  // Directories are renamed too, and never onto an existing name either.
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("d1"))));
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("d2"))));
  QVERIFY(!Files::RenameNoReplace(Path(QStringLiteral("d1")), Path(QStringLiteral("d2"))));
  QVERIFY(Files::RenameNoReplace(Path(QStringLiteral("d1")), Path(QStringLiteral("d3"))));
}

void TestPlatform::copyNoReplaceNeverReplaces() {
  const QString a = Path(QStringLiteral("a.wav"));
  const QString b = Path(QStringLiteral("b.wav"));
  const QString c = Path(QStringLiteral("c.wav"));
  QVERIFY(Write(a, "A", 0600));
  QVERIFY(Write(b, "B"));
  QVERIFY(!Files::CopyNoReplace(a, b));
  QCOMPARE(Read(b), QByteArray("B"));
  QVERIFY(Files::CopyNoReplace(a, c));
  QCOMPARE(Read(c), QByteArray("A"));
  QCOMPARE(Mode(c), mode_t(0600));
  QCOMPARE(Read(a), QByteArray("A"));
  QVERIFY(Files::CopyNoReplace(a, a));  // the file itself: nothing to do
  QCOMPARE(QDir(Path(QString())).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestPlatform::sameFileIsLeftAlone_data() {
  QTest::addColumn<QString>("second");  // how the target names the source file
  QTest::addColumn<int>("kind");        // 0 same spelling, 1 hard link, 2 symbolic link
  QTest::newRow("same path") << QStringLiteral("sub/bell.wav") << 0;
  QTest::newRow("dot") << QStringLiteral("sub/./bell.wav") << 0;
  QTest::newRow("double slash") << QStringLiteral("sub//bell.wav") << 0;
  QTest::newRow("dot-dot") << QStringLiteral("sub/../sub/bell.wav") << 0;
  QTest::newRow("hard link") << QStringLiteral("sub/hard.wav") << 1;
  QTest::newRow("symbolic link") << QStringLiteral("sub/soft.wav") << 2;
}

void TestPlatform::sameFileIsLeftAlone() {
  QFETCH(QString, second);
  QFETCH(int, kind);
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("sub"))));
  const QString file = Path(QStringLiteral("sub/bell.wav"));
  const QString other = Path(second);
  const QByteArray data(5000, 'b');
  QVERIFY(Write(file, data));
  if (kind == 1) QCOMPARE(::link(ToNativePath(file), ToNativePath(other)), 0);
  if (kind == 2) QCOMPARE(::symlink("bell.wav", ToNativePath(other)), 0);
  QVERIFY(Files::SameFile(file, other));
  const QStringList entries = AllEntries(Path(QStringLiteral("sub")));

  for (const auto& [from, to] : {std::pair{file, other}, std::pair{other, file}}) {
    QVERIFY(Files::Copy(from, to));
    QVERIFY(Files::Move(from, to));
    QVERIFY(Files::MoveNoReplace(from, to));
    QCOMPARE(Read(file), data);
    QCOMPARE(Read(other), data);
    QCOMPARE(AllEntries(Path(QStringLiteral("sub"))), entries);
  }
}

void TestPlatform::oddNames_data() {
  QTest::addColumn<QByteArray>("name");
  QTest::newRow("spaces") << QByteArray("  two  spaces .wav");
  QTest::newRow("quotes") << QByteArray("it's \"quoted\".wav");
  QTest::newRow("command") << QByteArray("$(touch x) `id`;|&.wav");
  QTest::newRow("leading dash") << QByteArray("-rf.wav");
  QTest::newRow("newline") << QByteArray("line\nbreak.wav");
  QTest::newRow("backslash") << QByteArray("back\\slash.wav");
  QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".wav";
  QTest::newRow("255 bytes chinese") << QByteArray("声").repeated(85);
  QTest::newRow("gbk") << QByteArray("\xc9\xf9\xd2\xf4.wav");
  QTest::newRow("latin-1") << QByteArray("caf\xe9.mid");
  QTest::newRow("lone 0xff") << QByteArray("\xff");
}

void TestPlatform::oddNames() {
  QFETCH(QByteArray, name);
  QVERIFY(name.size() <= 255);
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("a"))));
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("b"))));
  QVERIFY(WriteNative(ToNativePath(Path(QStringLiteral("a/"))) + name, "data"));

  const Files::Listing listing = Files::Enumerate(Path(QStringLiteral("a")));
  QVERIFY(listing.ok);
  QCOMPARE(listing.files.size(), 1);
  const QString found = listing.files.first();
  QCOMPARE(ToNativePath(found), name);

  const QString from = Path(QStringLiteral("a/")) + found;
  const QString to = Path(QStringLiteral("b/")) + found;
  QCOMPARE(Files::Size(from), qint64(4));
  QVERIFY(Files::Copy(from, to));
  QVERIFY(Files::Delete(to));
  QVERIFY(Files::Move(from, to));
  QVERIFY(!Files::Exists(from));
  QVERIFY(Files::RenameNoReplace(to, Path(QStringLiteral("b/plain.wav"))));
  QVERIFY(Files::RenameNoReplace(Path(QStringLiteral("b/plain.wav")), to));
  QCOMPARE(::access((ToNativePath(Path(QStringLiteral("b/"))) + name).constData(), F_OK), 0);
  QCOMPARE(Files::Enumerate(Path(QStringLiteral("b"))).files, QStringList{found});
}

void TestPlatform::enumerateSeparatesAndSorts() {
  const QByteArray root = ToNativePath(dir_->path()) + '/';
  for (const char* name : {"b.wav", "B.wav", "a.mid", "\xe4\xb8\xad.mp3", "\xff.wav", ".hidden"})
    QVERIFY(WriteNative(root + name, "x"));
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("zdir"))));
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("Adir"))));
  QCOMPARE(::symlink("zdir", root + "linkdir"), 0);
  QCOMPARE(::symlink("a.mid", root + "link.mid"), 0);
  QCOMPARE(::symlink("nowhere", root + "dangling.wav"), 0);
  QCOMPARE(::mkfifo(root + "fifo.wav", 0644), 0);

  const Files::Listing l = Files::Enumerate(dir_->path());
  QVERIFY(l.ok);
  const QStringList files{QStringLiteral(".hidden"),        QStringLiteral("B.wav"),
                          QStringLiteral("a.mid"),          QStringLiteral("b.wav"),
                          QStringLiteral("link.mid"),       QString::fromUtf16(u"\x4e2d.mp3"),
                          QString::fromUtf16(u"\xdcff.wav")};
  QCOMPARE(l.files, files);
  QCOMPARE(l.subdirs, (QStringList{QStringLiteral("Adir"), QStringLiteral("zdir")}));
  QCOMPARE(l.linkedDirs, QStringList{QStringLiteral("linkdir")});

  const Files::Listing missing = Files::Enumerate(Path(QStringLiteral("missing")));
  QVERIFY(!missing.ok);
  QVERIFY(missing.files.isEmpty() && missing.subdirs.isEmpty());
  QVERIFY(!Files::Enumerate(Path(QStringLiteral("b.wav"))).ok);
}

void TestPlatform::noDescriptorLeaks() {
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("sub"))));
  QVERIFY(Write(Path(QStringLiteral("a.wav")), QByteArray(10000, 'a')));
  const int before = OpenDescriptors();
  for (int i = 0; i < 50; ++i) {
    Files::Copy(Path(QStringLiteral("a.wav")), Path(QStringLiteral("b.wav")));
    Files::Copy(QStringLiteral("/proc/self/mem"), Path(QStringLiteral("c.wav")));
    Files::Copy(Path(QStringLiteral("missing")), Path(QStringLiteral("c.wav")));
    Files::Copy(Path(QStringLiteral("sub")), Path(QStringLiteral("c.wav")));
    Files::Move(Path(QStringLiteral("b.wav")), QStringLiteral("/dev/shm/tst_platform_fd.wav"));
    Files::Move(QStringLiteral("/dev/shm/tst_platform_fd.wav"), Path(QStringLiteral("b.wav")));
    Files::Enumerate(dir_->path());
    Files::Enumerate(Path(QStringLiteral("missing")));
  }
  QCOMPARE(OpenDescriptors(), before);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
