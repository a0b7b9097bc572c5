// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "list/SoundList.h"

// Rows named by letters, in directory "d"; none of the files exists.
inline void Fill(SoundList& list, int count) {
  QStringList paths;
  for (int i = 0; i < count; ++i) paths << QStringLiteral("d/%1.wav").arg(QChar(u'a' + i));
  list.AddPaths(paths, false);
}

// The rows' file names, in row order.
inline QStringList Names(const SoundList& list) {
  QStringList names;
  for (int r = 0; r < list.RowCount(); ++r) names << list.RowFileName(r);
  return names;
}

inline QList<int> Selected(const SoundList& list) {
  const std::vector<int> rows = list.Selection().SelectedRows();
  return QList<int>(rows.begin(), rows.end());
}
