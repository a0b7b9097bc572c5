// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostileTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QTest>
#include <vector>

#include "platform/NativePath.h"

namespace {

bool WriteAt(int dirFd, const QByteArray& name, const QByteArray& data, mode_t mode = 0644) {
  const int fd = ::openat(dirFd, name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  const bool ok = ::write(fd, data.constData(), size_t(data.size())) == data.size();
  return ::close(fd) == 0 && ok;
}

void AppendLE(QByteArray& out, quint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xff));
}

// 2,000 levels made relative to the level above, so no path is ever longer than one name.
void BuildDeepChain(const QByteArray& top) {
  QVERIFY(::mkdir(top.constData(), 0755) == 0);
  int level = ::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int i = 0; i < HostileTree::kDeepLevels && level >= 0; ++i) {
    QVERIFY(::mkdirat(level, "dd", 0755) == 0);
    const int next = ::openat(level, "dd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(level);
    level = next;
  }
  QVERIFY(level >= 0);
  QVERIFY(WriteAt(level, "deep.wav", TinyWave()));
  ::close(level);
}

}  // namespace

void HostileTree::RemoveStock(const QString& stock) {
  const QByteArray top = ToNativePath(stock) + "/deep";
  std::vector<int> levels{::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  while (levels.back() >= 0)
    levels.push_back(::openat(levels.back(), "dd", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  levels.pop_back();
  if (!levels.empty()) ::unlinkat(levels.back(), "deep.wav", 0);
  for (size_t i = levels.size(); i-- > 0;) {
    if (i > 0) ::unlinkat(levels[i - 1], "dd", AT_REMOVEDIR);
    ::close(levels[i]);
  }
  ::rmdir(top.constData());
}

QByteArray TinyWave() {
  const QByteArray samples(8 * 4, '\0');
  QByteArray w("RIFF");
  AppendLE(w, quint32(36 + samples.size()), 4);
  w.append("WAVEfmt ");
  AppendLE(w, 16, 4);
  AppendLE(w, 1, 2);          // PCM
  AppendLE(w, 2, 2);          // stereo
  AppendLE(w, 44100, 4);      // rate
  AppendLE(w, 44100 * 4, 4);  // bytes per second
  AppendLE(w, 4, 2);          // block
  AppendLE(w, 16, 2);         // bits
  w.append("data");
  AppendLE(w, quint32(samples.size()), 4);
  return w + samples;
}

HostileTree::HostileTree(const QString& root, bool withReadOnly, const QString& stock)
    : root_(root), stock_(stock) {
  const QByteArray src = ToNativePath(Src());
  QVERIFY(::mkdir(src.constData(), 0755) == 0);
  QVERIFY(::mkdir(ToNativePath(Dst()).constData(), 0755) == 0);
  const int dir = ::open(src.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  QVERIFY(dir >= 0);
  const QByteArray wave = TinyWave();
  // Plain files with names that break shells, option parsers, line-based formats and encodings.
  const std::vector<std::pair<const char*, QByteArray>> named = {
      {"space", "a b.wav"},
      {"quote", "it's \"q\".wav"},
      {"subst", "$(touch pwned).wav"},
      {"dash", "-n.wav"},
      {"nl", "new\nline.wav"},
      {"cr", "ret.wav\r"},
      {"bslash", "back\\slash.wav"},
      {"long", QByteArray(251, 'x') + ".wav"},
      {"gbk", "\xC9\xF9\xD2\xF4.wav"},
  };
  for (const auto& [tag, name] : named) {
    QVERIFY(WriteAt(dir, name, wave + name));  // the name in the content: every sum differs
    entries_.push_back({QString::fromLatin1(tag), "src/" + name});
  }
  QVERIFY(WriteAt(dir, "zero.wav", QByteArray()));
  QVERIFY(WriteAt(dir, "trunc.wav", wave.left(30)));
  // 3 GiB that cost no disk.
  const int big = ::openat(dir, "big.wav", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  QVERIFY(big >= 0);
  QVERIFY(::ftruncate(big, qint64(3) << 30) == 0);
  ::close(big);
  QVERIFY(::mkfifoat(dir, "fifo.wav", 0644) == 0);
  QVERIFY(::symlinkat("loopB.wav", dir, "loopA.wav") == 0);
  QVERIFY(::symlinkat("loopA.wav", dir, "loopB.wav") == 0);
  QVERIFY(::symlinkat("..", dir, "up") == 0);  // a directory link back up: a walk must not loop
  for (const char* tag : {"zero", "trunc", "big", "fifo"})
    entries_.push_back({QString::fromLatin1(tag), "src/" + QByteArray(tag) + ".wav"});
  entries_.push_back({QStringLiteral("loop"), "src/loopA.wav"});

  const QByteArray stockDeep = ToNativePath(stock_) + "/deep";
  if (::access(stockDeep.constData(), F_OK) != 0) BuildDeepChain(stockDeep);
  QVERIFY(::rename(stockDeep.constData(), (src + "/deep").constData()) == 0);
  QByteArray deep = "src/deep";
  for (int i = 0; i < kDeepLevels; ++i) deep += "/dd";
  entries_.push_back({QStringLiteral("deep"), deep + "/deep.wav"});

  if (withReadOnly) {
    QVERIFY(WriteAt(dir, "ro.wav", wave + "ro", 0444));
    QVERIFY(::mkdirat(dir, "rodir", 0755) == 0);
    const int ro = ::openat(dir, "rodir", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(WriteAt(ro, "in.wav", wave + "in"));
    ::close(ro);
    QVERIFY(::fchmodat(dir, "rodir", 0555, 0) == 0);
    entries_.push_back({QStringLiteral("ro"), "src/ro.wav"});
    entries_.push_back({QStringLiteral("rodir"), "src/rodir/in.wav"});
  }
  ::close(dir);
}

HostileTree::~HostileTree() {
  ::rename(ToNativePath(Src() + QStringLiteral("/deep")).constData(),
           ToNativePath(stock_ + QStringLiteral("/deep")).constData());
  // chmod and rm walk by file descriptors, so depth and odd bytes do not stop them.
  const QString native = QString::fromLocal8Bit(ToNativePath(root_));
  QProcess::execute(QStringLiteral("chmod"),
                    {QStringLiteral("-R"), QStringLiteral("u+rwx"), native + QStringLiteral("/src"),
                     native + QStringLiteral("/dst")});
  QProcess::execute(QStringLiteral("rm"),
                    {QStringLiteral("-rf"), QStringLiteral("--"), native + QStringLiteral("/src"),
                     native + QStringLiteral("/dst")});
}

QStringList HostileTree::Tags() const {
  QStringList tags;
  for (const HostileEntry& e : entries_) tags << e.tag;
  return tags;
}

QByteArray HostileTree::Rel(const QString& tag) const {
  for (const HostileEntry& e : entries_)
    if (e.tag == tag) return e.relPath;
  qFatal("no hostile entry %s", qPrintable(tag));
}

QString HostileTree::Path(const QString& tag) const {
  return root_ + u'/' + FromNativePath(Rel(tag));
}

QString HostileTree::FileName(const QString& tag) const {
  const QByteArray rel = Rel(tag);
  return FromNativePath(rel.mid(rel.lastIndexOf('/') + 1));
}

void HostileTree::Replace(const QString& tag, const QByteArray& content) const {
  const QByteArray path = ToNativePath(Path(tag));
  const QByteArray temp = ToNativePath(Src()) + "/.replacement";
  const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  QVERIFY(fd >= 0);
  QVERIFY(::write(fd, content.constData(), size_t(content.size())) == content.size());
  ::close(fd);
  QVERIFY(::rename(temp.constData(), path.constData()) == 0);
}

void HostileTree::Remove(const QString& tag) const {
  QVERIFY(::unlink(ToNativePath(Path(tag)).constData()) == 0);
}
