// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/RenameJournal.h"

#include <QFile>

#include "platform/Files.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

// Names are bytes and hold no NUL: the directory and the ring, each ended by a NUL.
const QByteArray& Header() {
  static const QByteArray header = QByteArrayLiteral("plinkbox rename journal 1\n");
  return header;
}

}  // namespace

bool RenameJournal::Begin(const QString& directory, const QStringList& ring) {
  if (path_.isEmpty()) return false;
  QByteArray data = Header();
  for (const QString& name : QStringList{directory} + ring) data += ToNativePath(name) + '\0';
  return Files::WriteDurably(path_, data);
}

void RenameJournal::End() {
  if (!path_.isEmpty()) Files::Delete(path_);
}

QString RenameJournalPath(const QString& configDir) {
  return JoinPath(configDir, QStringLiteral("Plinkbox.rename-journal"));
}

QString RecoverRenameJournal(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  const QByteArray data = file.readAll();
  file.close();
  Files::Delete(path);
  QList<QByteArray> parts = data.mid(Header().size()).split('\0');
  parts.removeLast();  // after the last NUL
  if (!data.startsWith(Header()) || parts.size() < 3) return QString();
  const QString directory = FromNativePath(parts.takeFirst());
  QStringList ring;
  for (const QByteArray& name : parts) ring << JoinPath(directory, FromNativePath(name));

  // Killed before the first rename or after the last: the temporary name is free.
  if (!Files::NameTaken(ring[0])) return QString();
  // The renames done so far moved the free name from ring[0] to ring[free]; undone backwards.
  qsizetype free = 1;
  while (free < ring.size() && Files::NameTaken(ring[free])) ++free;
  for (qsizetype i = free - 1; i >= 0 && free < ring.size(); --i) {
    if (!Files::RenameNoReplace(ring[i], ring[i + 1]))
      return QStringLiteral("上次改名被中断，未能恢复文件 %1").arg(DisplayName(ring[i]));
  }
  if (free == ring.size())
    return QStringLiteral("上次改名被中断，未能恢复文件 %1").arg(DisplayName(ring[0]));
  return QStringLiteral("上次改名被中断，已恢复 %1 个文件的原名").arg(free);
}
