#include "list/ListFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include "list/SoundList.h"
#include "platform/Encoding.h"
#include "platform/EventPump.h"
#include "platform/Files.h"
#include "platform/NativePath.h"

namespace {

bool IsAscii(QByteArrayView bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// A line of a file that is not UTF-8 as a whole: one of our own files holding a file name that
// is not UTF-8, or a GBK list. Of the readings, the first that names an existing file wins.
QString DecodeMixedLine(const QByteArray& line) {
  if (IsAscii(line)) return QString::fromLatin1(line);
  const QString native = FromNativePath(line);
  if (Files::Exists(native)) return native;
  const QString gbk = DecodeTextFile(line);
  return Files::Exists(gbk) ? gbk : native;
}

}  // namespace

bool SaveListFile(const SoundList& list, const QString& filePath) {
  QByteArray text;
  // Rows may change while events are processed, so the bound is read every time.
  for (int row = 0; row < list.RowCount(); ++row) {
    text += ToNativePath(list.RowFullPath(row));
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

  QStringList paths;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    qsizetype lineEnd = end;
    if (lineEnd > start && bytes[lineEnd - 1] == '\r') --lineEnd;
    if (lineEnd > start) {
      const QByteArray line = bytes.mid(start, lineEnd - start);
      paths.append(utf8 ? QString::fromUtf8(line) : DecodeMixedLine(line));
    }
    start = end + 1;
    PumpEvents();
  }
  return list.AddPaths(paths, true);
}
