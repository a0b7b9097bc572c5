// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArrayView>
#include <QString>

#include "list/SoundList.h"
#include "platform/SizeLookups.h"

class QFile;

// Reads a file line by line in blocks, so a list of a million paths is never held whole. A line
// comes without its "\n" and the "\r" before it; the first loses a UTF-8 byte order mark.
class LineReader {
 public:
  explicit LineReader(QFile& file) : file_(file) {}
  bool Next(QByteArrayView* line);

 private:
  QFile& file_;
  QByteArray buffer_;
  qsizetype pos_ = 0;
  bool atEnd_ = false;
  bool first_ = true;
};

// The rows of a list file's lines, added in one insertion. Lines naming no existing file are
// dropped. An absolute line of a UTF-8 file (nearly every line) is split at its last "/" and
// looked up relative to its directory on worker threads, a block of lines each, while this
// thread reads on and makes the rows of the blocks that came back; any other line goes the long
// way, in its turn.
class ListLoader {
 public:
  ListLoader(SoundList& list, size_t lines, bool utf8, QString listDirectory);
  ~ListLoader();
  void Add(QByteArrayView line);
  int Commit();

 private:
  void MakeRows(const SizeLookups::Block& block);

  SoundList::Batch batch_;
  const bool utf8_;
  const QString listDirectory_;
  QByteArray lastDirectory_;
  quint32 lastDirectoryId_ = 0;
  bool hasLastDirectory_ = false;
  SizeLookups sizes_;  // last: its threads stop before the rest goes
};
