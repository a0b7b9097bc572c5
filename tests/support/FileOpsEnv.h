// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file tests' world: rows over files in a temporary directory, scripted
// dialogs, and an inventory of every file with its content to compare before and after.
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
#include "core/StatusTexts.h"
#include "fileops/FileOperations.h"
#include "list/SoundList.h"
#include "platform/Clipboard.h"
#include "platform/ConflictFreeName.h"
#include "platform/EventPump.h"
#include "platform/Files.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"

inline const QString kWorking = QStringLiteral("正在操作，请稍后...");

// Test files are made and read with their native bytes, so names that are not UTF-8 work.
inline void WriteFile(const QString& path, const QByteArray& content) {
  const int fd = ::open(ToNativePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  QVERIFY2(fd >= 0, qPrintable(path));
  QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
  ::close(fd);
}

inline void MakeDir(const QString& path) {
  QCOMPARE(::mkdir(ToNativePath(path).constData(), 0755), 0);
}

inline void RemoveTree(const QByteArray& path) {
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

inline QByteArray Checksum(const QByteArray& path) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  const int fd = ::open(path.constData(), O_RDONLY);
  char buffer[4096];
  for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
    hash.addData({buffer, n});
  if (fd >= 0) ::close(fd);
  return hash.result().toHex().left(12);
}

// Every entry under root: "dir/" for a directory, "file=checksum" for a file, "name=link" and
// "name=special" for links and FIFOs or devices (never opened: a FIFO would block).
inline void Walk(const QByteArray& root, const QByteArray& rel, QStringList* out) {
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
    } else if (S_ISLNK(st.st_mode) || !S_ISREG(st.st_mode)) {
      *out << FromNativePath(path.mid(1)) +
                  QLatin1String(S_ISLNK(st.st_mode) ? "=link" : "=special");
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
    Files::SetMoveSeam({}, false);
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
    for (int r = 0; r < list.RowCount(); ++r)
      rows << list.RowFullPath(r).mid(dir.path().size() + 1);
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
  FileOperations ops{list, status, options.move};
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<Dialogs> previous;
  std::function<void()> duringRun;
};

enum Fault { kNoFault, kDeleteFirstSource, kRemoveEmptyTarget };

inline bool Root() { return ::geteuid() == 0; }
