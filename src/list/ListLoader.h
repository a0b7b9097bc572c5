#pragma once
#include <QByteArrayView>
#include <QString>
#include <future>
#include <memory>

#include "list/SoundList.h"
#include "platform/DirectorySizes.h"

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
// looked up relative to its directory on a second thread, while this one makes the rows of the
// block before; any other line goes the long way, in its turn.
class ListLoader {
 public:
  ListLoader(SoundList& list, size_t lines, bool utf8, QString listDirectory);
  ~ListLoader();
  void Add(QByteArrayView line);
  int Commit();

 private:
  struct Block;
  void Launch();  // sends the filling block to the worker, makes the rows of the one before
  void Drain();   // every block's rows made
  void MakeRows(const Block& block);

  SoundList::Batch batch_;
  const bool utf8_;
  const QString listDirectory_;
  DirectorySizes sizes_;  // the worker's
  std::unique_ptr<Block> filling_;
  std::unique_ptr<Block> inFlight_;
  std::future<void> lookedUp_;
  QByteArray lastDirectory_;
  quint32 lastDirectoryId_ = 0;
  bool hasLastDirectory_ = false;
};
