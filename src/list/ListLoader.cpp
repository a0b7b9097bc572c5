#include "list/ListLoader.h"

#include <QDir>
#include <QFile>
#include <system_error>
#include <vector>

#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

constexpr qint64 kReadBlock = 1 << 20;
constexpr size_t kBlockLines = 8192;

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
    const QByteArray more = file_.read(kReadBlock);
    if (more.isEmpty()) {
      atEnd_ = true;
    } else {
      buffer_ += more;
    }
  }
}

// Absolute lines, each split into its directory and its name, with their sizes once looked up.
struct ListLoader::Block {
  struct Line {
    qsizetype start;
    qsizetype cut;  // of the last "/"
    qsizetype end;
  };
  QByteArray bytes;
  std::vector<Line> lines;
  std::vector<qint64> sizes;

  QByteArrayView Directory(const Line& l) const {
    return QByteArrayView(bytes).sliced(l.start, l.cut - l.start);
  }
  QByteArrayView Name(const Line& l) const {
    return QByteArrayView(bytes).sliced(l.cut + 1, l.end - l.cut - 1);
  }
  void LookUp(DirectorySizes& sizesIn) {
    sizes.resize(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      sizesIn.Enter(Directory(lines[i]));
      sizes[i] = sizesIn.Size(Name(lines[i]));
    }
  }
};

ListLoader::ListLoader(SoundList& list, size_t lines, bool utf8, QString listDirectory)
    : batch_(list, lines),
      utf8_(utf8),
      listDirectory_(std::move(listDirectory)),
      filling_(std::make_unique<Block>()) {}

ListLoader::~ListLoader() {
  if (lookedUp_.valid()) lookedUp_.wait();
}

void ListLoader::Add(QByteArrayView line) {
  const qsizetype cut = line.lastIndexOf('/');
  if (utf8_ && line.startsWith('/') && cut + 1 < line.size()) {
    Block& block = *filling_;
    const qsizetype start = block.bytes.size();
    block.bytes.append(line);
    block.lines.push_back({start, start + cut, start + line.size()});
    if (block.lines.size() == kBlockLines) Launch();
    return;
  }
  Drain();
  const QString path = PathOfLine(line.toByteArray(), utf8_, listDirectory_);
  const qint64 size = Files::Size(path);
  if (size < 0) return;
  const qsizetype split = path.lastIndexOf(kPathSeparator);
  const QString directory = split < 0 ? QString() : path.left(split);
  hasLastDirectory_ = false;
  batch_.Add(path.mid(split + 1), batch_.Directory(directory), size);
}

void ListLoader::Launch() {
  if (lookedUp_.valid()) lookedUp_.get();  // the worker's directory descriptor is free again
  std::unique_ptr<Block> previous = std::move(inFlight_);
  inFlight_ = std::move(filling_);
  filling_ = std::make_unique<Block>();
  Block* block = inFlight_.get();
  try {
    lookedUp_ = std::async(std::launch::async, [block, this] { block->LookUp(sizes_); });
  } catch (const std::system_error&) {
    block->LookUp(sizes_);  // no thread to be had: here, then
    lookedUp_ = {};
  }
  if (previous) MakeRows(*previous);
}

void ListLoader::Drain() {
  if (!filling_->lines.empty()) Launch();
  if (!inFlight_) return;
  if (lookedUp_.valid()) lookedUp_.get();
  MakeRows(*inFlight_);
  inFlight_.reset();
}

void ListLoader::MakeRows(const Block& block) {
  for (size_t i = 0; i < block.lines.size(); ++i) {
    if (block.sizes[i] < 0) continue;
    const QByteArrayView directory = block.Directory(block.lines[i]);
    if (!hasLastDirectory_ || directory != lastDirectory_) {
      lastDirectory_ = directory.toByteArray();
      lastDirectoryId_ = batch_.Directory(FromBytes(directory));
      hasLastDirectory_ = true;
    }
    batch_.Add(FromBytes(block.Name(block.lines[i])), lastDirectoryId_, block.sizes[i]);
  }
}

int ListLoader::Commit() {
  Drain();
  return batch_.Commit();
}
