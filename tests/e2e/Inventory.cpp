// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Inventory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <vector>

#include "platform/NativePath.h"

namespace {

// Large files are summed by their head and tail: a 3 GiB sparse file must not be read whole.
constexpr qint64 kWholeLimit = 1 << 20;
constexpr qint64 kPart = 64 << 10;

QString FileValue(int dirFd, const char* name, qint64 size) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  const int fd = ::openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return QString::number(size) + QStringLiteral(":unreadable");
  QByteArray buffer(int(kPart), '\0');
  auto add = [&](qint64 offset, qint64 length) {
    while (length > 0) {
      const ssize_t n = ::pread(fd, buffer.data(), size_t(qMin(length, kPart)), offset);
      if (n <= 0) return;
      hash.addData(QByteArrayView(buffer.constData(), n));
      offset += n;
      length -= n;
    }
  };
  if (size <= kWholeLimit) {
    add(0, size);
  } else {
    add(0, kPart);
    add(size - kPart, kPart);
  }
  ::close(fd);
  return QString::number(size) + u':' + QString::fromLatin1(hash.result().toHex().left(12));
}

// Walks dirFd (which it closes). The fd of a directory is closed before its last subdirectory is
// walked, so a chain of 2,000 levels holds a handful of descriptors, not 2,000.
void Walk(int dirFd, const QByteArray& rel, Inventory* out) {
  DIR* d = ::fdopendir(dirFd);
  if (!d) {
    ::close(dirFd);
    return;
  }
  std::vector<QByteArray> subdirs;
  while (const dirent* e = ::readdir(d)) {
    const QByteArray name(e->d_name);
    if (name == "." || name == "..") continue;
    const QByteArray path = rel.isEmpty() ? name : rel + '/' + name;
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    const QString key = FromNativePath(path);
    if (S_ISDIR(st.st_mode)) {
      out->insert(key, QStringLiteral("dir"));
      subdirs.push_back(name);
    } else if (S_ISLNK(st.st_mode)) {
      out->insert(key, QStringLiteral("link"));
    } else if (!S_ISREG(st.st_mode)) {
      out->insert(key, QStringLiteral("special"));
    } else {
      out->insert(key, FileValue(dirFd, name.constData(), st.st_size));
    }
  }
  for (size_t i = 0; i < subdirs.size(); ++i) {
    const int sub =
        ::openat(dirFd, subdirs[i].constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (i + 1 == subdirs.size()) {
      ::closedir(d);
      d = nullptr;
    }
    if (sub >= 0) Walk(sub, rel.isEmpty() ? subdirs[i] : rel + '/' + subdirs[i], out);
  }
  if (d) ::closedir(d);
}

}  // namespace

Inventory TakeInventory(const QString& root) {
  Inventory entries;
  const int fd = ::open(ToNativePath(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) Walk(fd, QByteArray(), &entries);
  return entries;
}

QString ContentValue(const QByteArray& content) {
  return QString::number(content.size()) + u':' +
         QString::fromLatin1(
             QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex().left(12));
}

Inventory ApplyChanges(Inventory before, const QStringList& changes) {
  for (const QString& change : changes) {
    if (change.startsWith(u'-')) {
      before.remove(change.mid(1));
      continue;
    }
    const qsizetype at = ChangeOperator(change);
    const QString from = change.left(at);
    const QString to = change.mid(at + 1);
    switch (change[at].unicode()) {
      case '=':
        before.insert(from, ContentValue(to.toUtf8()));
        break;
      case '>':
        before.insert(to, before.take(from));
        break;
      default:
        before.insert(to, before.value(from));
        break;
    }
  }
  return before;
}

qsizetype ChangeOperator(const QString& change) {
  // By hand: the regular-expression engine refuses the lone surrogates of names that are not
  // UTF-8.
  for (qsizetype i = 0; i < change.size(); ++i)
    if (change[i] == u'>' || change[i] == u'+' || change[i] == u'=') return i;
  return -1;
}

QStringList Differences(const Inventory& expected, const Inventory& actual) {
  QStringList lines;
  auto shown = [](const QString& key) {
    return key.size() > 120 ? key.left(60) + QStringLiteral("…") + key.right(40) : key;
  };
  for (auto it = expected.begin(); it != expected.end(); ++it) {
    if (!actual.contains(it.key()))
      lines << QStringLiteral("- ") + shown(it.key()) + QStringLiteral(" (") + it.value() + u')';
    else if (actual.value(it.key()) != it.value())
      lines << QStringLiteral("~ ") + shown(it.key()) + u' ' + it.value() + QStringLiteral(" -> ") +
                   actual.value(it.key());
  }
  for (auto it = actual.begin(); it != actual.end(); ++it)
    if (!expected.contains(it.key()))
      lines << QStringLiteral("+ ") + shown(it.key()) + QStringLiteral(" (") + it.value() + u')';
  return lines;
}
