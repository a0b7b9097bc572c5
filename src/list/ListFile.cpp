// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/ListFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

#include "list/ListLoader.h"
#include "list/SoundList.h"
#include "platform/Encoding.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"

namespace {

// A path that the line reader would cut or shorten: written as FileUrlBytes gives it.
bool NeedsUrl(const QString& path) { return path.contains(u'\n') || path.endsWith(u'\r'); }

// The bytes of one row's line; a directory's bytes are made once for all its rows.
class LineWriter {
 public:
  explicit LineWriter(const SoundList& list) : list_(list) {}
  void Append(int row, QByteArray& text) {
    const QString& directory = list_.RowDirectory(row);
    const QString& name = list_.RowFileName(row);
    if (&directory != lastDirectory_) {
      lastDirectory_ = &directory;
      directoryBytes_ = ToNativePath(directory);
      directoryPlain_ = !directory.contains(u'\n');
    }
    if (directoryPlain_ && !name.isEmpty() && !NeedsUrl(name)) {
      text += directoryBytes_;
      text += '/';
      text += ToNativePath(name);
    } else {
      const QString path = list_.RowFullPath(row);
      text += NeedsUrl(path) ? FileUrlBytes(path) : ToNativePath(path);
    }
    text += '\n';
  }

 private:
  const SoundList& list_;
  const QString* lastDirectory_ = nullptr;
  QByteArray directoryBytes_;
  bool directoryPlain_ = true;
};

// A first reading of a list file, before any line is used.
struct FileSurvey {
  bool utf8 = true;  // the file as a whole: a line break never falls inside a UTF-8 sequence
  size_t lines = 0;  // line breaks, and an unfinished last line
};

constexpr qsizetype kSurveyBlock = 1 << 20;

// In blocks, each checked up to its last line break: the rest, an unfinished line, goes on to
// the next block.
FileSurvey SurveyFile(QFile& file) {
  FileSurvey survey;
  QByteArray buffer(kSurveyBlock, Qt::Uninitialized);
  qsizetype kept = 0;
  for (;;) {
    if (kept == buffer.size()) buffer.resize(2 * buffer.size());  // a line longer than a block
    const qint64 got = file.read(buffer.data() + kept, buffer.size() - kept);
    if (got <= 0) break;
    char* const data = buffer.data();
    const char* const end = data + kept + got;
    const char* lastBreak = nullptr;
    for (const char* p = data + kept; p < end; ++p) {
      p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
      if (!p) break;
      ++survey.lines;
      lastBreak = p;
    }
    const qsizetype whole = lastBreak ? lastBreak + 1 - data : 0;
    if (survey.utf8 && !IsValidUtf8(QByteArrayView(data, whole))) survey.utf8 = false;
    kept = end - data - whole;
    std::memmove(data, data + whole, size_t(kept));
  }
  if (kept > 0) {
    ++survey.lines;
    if (survey.utf8 && !IsValidUtf8(QByteArrayView(buffer.constData(), kept))) survey.utf8 = false;
  }
  return survey;
}

constexpr qsizetype kWriteBlock = 16 << 10;
constexpr int kPumpEvery = 64;  // lines between two looks at the clock

}  // namespace

bool SaveListFile(const SoundList& list, const QString& filePath) {
  // Events are processed below: no job may change the rows while they are written.
  const LongJobGuard guard;
  if (!guard.Acquired()) return false;
  QSaveFile file(filePath);
  // Written in blocks, so saving a million rows holds one block, not the whole text; the blocks
  // go straight to the file, not through a buffer of the device's own.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  QByteArray text;
  text.reserve(kWriteBlock + 4096);
  LineWriter writer(list);
  for (int row = 0; row < list.RowCount(); ++row) {
    writer.Append(row, text);
    const bool last = row + 1 == list.RowCount();
    if (text.size() >= kWriteBlock || last) {
      if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
      }
      text.resize(0);
    }
    if (row % kPumpEvery == 0) PumpEvents();
  }
  return file.commit();
}

int LoadListFile(SoundList& list, const QString& filePath, bool clearFirst) {
  if (clearFirst) list.RemoveAllRows();
  QFile file(filePath);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const FileSurvey survey = SurveyFile(file);
  if (!file.seek(0)) return 0;
  ListLoader loader(list, survey.lines, survey.utf8, QFileInfo(filePath).absolutePath());
  LineReader reader(file);
  QByteArrayView line;
  for (size_t n = 0; reader.Next(&line); ++n) {
    if (!line.isEmpty()) loader.Add(line);
    if (n % kPumpEvery == 0) PumpEvents();
  }
  return loader.Commit();
}
