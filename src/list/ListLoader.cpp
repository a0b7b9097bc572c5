// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/ListLoader.h"

#include <string.h>

#include <QDir>
#include <QFile>
#include <algorithm>

#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

constexpr qint64 kReadBlock = 1 << 20;

bool IsAscii(QByteArrayView bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// A relative line names a file beside the list file, wherever the program was started.
QString Resolve(const QString& path, const QString& listDirectory) {
  if (path.startsWith(kPathSeparator)) return path;
  return QDir::cleanPath(JoinPath(listDirectory, path));
}

// A line of a file that is not UTF-8 as a whole: one of our own files holding a file name that
// is not UTF-8, or a GBK list. Of the readings, the first that names an existing file wins.
QString DecodeMixedLine(const QByteArray& line, const QString& listDirectory) {
  const QString native = Resolve(FromNativePath(line), listDirectory);
  if (IsAscii(line) || Files::Exists(native)) return native;
  const QString gbk = Resolve(DecodeTextFile(line), listDirectory);
  return Files::Exists(gbk) ? gbk : native;
}

// The path a line names; a file:// URL of an absolute path comes back to its exact bytes.
QString PathOfLine(const QByteArray& line, bool utf8, const QString& listDirectory) {
  constexpr QByteArrayView kUrlPrefix = "file://";
  if (line.startsWith(kUrlPrefix) && line.sliced(kUrlPrefix.size()).startsWith('/'))
    return FromNativePath(QByteArray::fromPercentEncoding(line.sliced(kUrlPrefix.size())));
  // Not QString::fromUtf8, which drops a name's leading U+FEFF.
  if (utf8) return Resolve(FromNativePath(line), listDirectory);
  return DecodeMixedLine(line, listDirectory);
}

QString FromBytes(QByteArrayView bytes) {
  return FromNativePath(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

}  // namespace

bool LineReader::Next(QByteArrayView* line) {
  for (;;) {
    const qsizetype end = buffer_.indexOf('\n', pos_);
    if (end >= 0 || (atEnd_ && pos_ < buffer_.size())) {
      const qsizetype stop = end >= 0 ? end : buffer_.size();
      *line = QByteArrayView(buffer_).sliced(pos_, stop - pos_);
      if (line->endsWith('\r')) line->chop(1);
      if (first_) {
        first_ = false;
        if (line->startsWith("\xEF\xBB\xBF")) *line = line->sliced(3);
      }
      pos_ = stop + 1;
      return true;
    }
    if (atEnd_) return false;
    buffer_.remove(0, pos_);
    pos_ = 0;
    // Read straight in behind the unfinished line.
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + kReadBlock);
    const qint64 got = file_.read(buffer_.data() + kept, kReadBlock);
    buffer_.resize(kept + std::max<qint64>(got, 0));
    atEnd_ = got <= 0;
  }
}

ListLoader::ListLoader(SoundList& list, size_t lines, bool utf8, QString listDirectory)
    : batch_(list, lines),
      utf8_(utf8),
      listDirectory_(std::move(listDirectory)),
      sizes_([this](const SizeLookups::Block& block) { MakeRows(block); }) {}

ListLoader::~ListLoader() = default;

void ListLoader::Add(QByteArrayView line) {
  const void* slash = line.isEmpty() ? nullptr : ::memrchr(line.data(), '/', size_t(line.size()));
  const qsizetype cut = slash ? static_cast<const char*>(slash) - line.data() : -1;
  if (utf8_ && line.startsWith('/') && cut + 1 < line.size()) {
    sizes_.Add(line.first(cut), line.sliced(cut + 1));
    return;
  }
  sizes_.Drain();
  const QString path = PathOfLine(line.toByteArray(), utf8_, listDirectory_);
  const qint64 size = Files::Size(path);
  if (size < 0) return;
  const qsizetype split = path.lastIndexOf(kPathSeparator);
  const QString directory = split < 0 ? QString() : path.left(split);
  hasLastDirectory_ = false;
  batch_.Add(path.mid(split + 1), batch_.Directory(directory), size);
}

void ListLoader::MakeRows(const SizeLookups::Block& block) {
  for (size_t i = 0; i < block.Count(); ++i) {
    if (block.Size(i) < 0) continue;
    const QByteArrayView directory = block.Directory(i);
    if (!hasLastDirectory_ || directory != lastDirectory_) {
      lastDirectory_ = directory.toByteArray();
      lastDirectoryId_ = batch_.Directory(FromBytes(directory));
      hasLastDirectory_ = true;
    }
    batch_.Add(FromBytes(block.Name(i)), lastDirectoryId_, block.Size(i));
  }
}

int ListLoader::Commit() {
  sizes_.Drain();
  return batch_.Commit();
}
