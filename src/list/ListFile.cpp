#include "list/ListFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include "list/SoundList.h"
#include "platform/Encoding.h"
#include "platform/EventPump.h"
#include "platform/Files.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

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

// A path that the line reader would cut or shorten: written as FileUrlBytes gives it.
bool NeedsUrl(const QString& path) { return path.contains(u'\n') || path.endsWith(u'\r'); }

// The path a line names; a file:// URL of an absolute path comes back to its exact bytes.
QString PathOfLine(const QByteArray& line, bool utf8, const QString& listDirectory) {
  constexpr QByteArrayView kUrlPrefix = "file://";
  if (line.startsWith(kUrlPrefix) && line.sliced(kUrlPrefix.size()).startsWith('/'))
    return FromNativePath(QByteArray::fromPercentEncoding(line.sliced(kUrlPrefix.size())));
  if (utf8) return Resolve(QString::fromUtf8(line), listDirectory);
  return DecodeMixedLine(line, listDirectory);
}

}  // namespace

bool SaveListFile(const SoundList& list, const QString& filePath) {
  // Events are processed below: no job may change the rows while they are written.
  const LongJobGuard guard;
  if (!guard.Acquired()) return false;
  QByteArray text;
  for (int row = 0; row < list.RowCount(); ++row) {
    const QString path = list.RowFullPath(row);
    text += NeedsUrl(path) ? FileUrlBytes(path) : ToNativePath(path);
    text += '\n';
    PumpEvents();
  }
  QSaveFile file(filePath);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(text) != text.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

int LoadListFile(SoundList& list, const QString& filePath, bool clearFirst) {
  if (clearFirst) list.RemoveAllRows();
  QFile file(filePath);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  QByteArray bytes = file.readAll();
  file.close();
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  const bool utf8 = IsValidUtf8(bytes);
  const QString listDirectory = QFileInfo(filePath).absolutePath();

  QStringList paths;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    qsizetype lineEnd = end;
    if (lineEnd > start && bytes[lineEnd - 1] == '\r') --lineEnd;
    if (lineEnd > start) {
      const QByteArray line = bytes.mid(start, lineEnd - start);
      paths.append(PathOfLine(line, utf8, listDirectory));
    }
    start = end + 1;
    PumpEvents();
  }
  return list.AddPaths(paths, true);
}
