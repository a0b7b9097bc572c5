// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/RenameJournal.h"

#include <QFile>

#include "platform/Files.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

// Names are bytes and hold no NUL: per cycle the directory and the ring, each ended by a NUL,
// and an empty name after the cycle.
const QByteArray& Header() {
  static const QByteArray header = QByteArrayLiteral("plinkbox rename journal 1\n");
  return header;
}

// The files of a cycle killed halfway get their old names back: how many were renamed, 0 when
// its temporary name is free (the cycle had not begun or had ended). *stuck names the file
// that could not be given its name back.
int RollBack(const QStringList& ring, QString* stuck) {
  if (ring.size() < 3 || !Files::NameTaken(ring[0])) return 0;
  // The renames done so far moved the free name from ring[0] to ring[free]; undone backwards.
  qsizetype free = 1;
  while (free < ring.size() && Files::NameTaken(ring[free])) ++free;
  if (free == ring.size()) {
    *stuck = ring[0];
    return 0;
  }
  for (qsizetype i = free - 1; i >= 0; --i) {
    if (!Files::RenameNoReplace(ring[i], ring[i + 1])) {
      *stuck = ring[i];
      return int(free - 1 - i);
    }
  }
  return int(free);
}

}  // namespace

bool RenameJournal::Begin(const std::vector<JournalCycle>& cycles) {
  if (path_.isEmpty() || cycles.empty()) return false;
  QByteArray data = Header();
  for (const JournalCycle& cycle : cycles) {
    for (const QString& name : QStringList{cycle.directory} + cycle.ring)
      data += ToNativePath(name) + '\0';
    data += '\0';
  }
  begun_ = true;
  return Files::WriteDurably(path_, data);
}

void RenameJournal::End() {
  if (begun_) Files::Delete(path_);
  begun_ = false;
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
  if (!data.startsWith(Header())) return QString();
  QList<QByteArray> names = data.mid(Header().size()).split('\0');
  names.removeLast();  // after the last NUL
  int restored = 0;
  QString stuck;
  for (qsizetype first = 0; first < names.size();) {
    qsizetype end = names.indexOf(QByteArray(), first);
    if (end < 0) end = names.size();
    const QString directory = FromNativePath(names[first]);
    QStringList ring;
    for (qsizetype i = first + 1; i < end; ++i)
      ring << JoinPath(directory, FromNativePath(names[i]));
    restored += RollBack(ring, &stuck);
    first = end + 1;
  }
  if (!stuck.isEmpty())
    return QStringLiteral("上次改名被中断，未能恢复文件 %1").arg(DisplayName(stuck));
  if (restored == 0) return QString();
  return QStringLiteral("上次改名被中断，已恢复 %1 个文件的原名").arg(restored);
}
