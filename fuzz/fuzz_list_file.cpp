// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The list-file reader on any file, then the round trip: the rows read, written and read again
// are the same rows. Files named by the input are made first, so lines can name real files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FuzzInput.h"
#include "TempDir.h"
#include "list/ListFile.h"
#include "list/SoundList.h"

namespace {

constexpr int kMaxFiles = 8;

bool WriteBytes(const QByteArray& path, const QByteArray& bytes) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
  ::close(fd);
  return ok;
}

// Creates dir/name with its parent directories; the name's own bytes are its content. A name
// leading out of dir is refused.
bool MakeFile(const QByteArray& dir, const QByteArray& name) {
  if (name.isEmpty() || name.split('/').contains("..")) return false;
  const QByteArray path = dir + '/' + name;
  for (qsizetype slash = dir.size() + 1; (slash = path.indexOf('/', slash)) >= 0; ++slash)
    ::mkdir(path.left(slash).constData(), 0700);
  return WriteBytes(path, name);
}

// Sizes are compared inside the scratch directory only: others may change theirs meanwhile.
bool SameRows(const SoundList& a, const SoundList& b, const QString& scratch) {
  if (a.RowCount() != b.RowCount()) return false;
  for (int row = 0; row < a.RowCount(); ++row) {
    if (a.RowFullPath(row) != b.RowFullPath(row)) return false;
    if (a.RowFullPath(row).startsWith(scratch) && a.RowSize(row) != b.RowSize(row)) return false;
  }
  return true;
}

}  // namespace

// Input: up to eight file names, each ending in NUL, then the list file's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  std::vector<QByteArray> names;
  QByteArray listBytes;
  while (int(names.size()) < kMaxFiles) {
    QByteArray field = in.Field();
    if (in.AtEnd()) {
      listBytes = std::move(field);
      break;
    }
    names.push_back(std::move(field));
  }
  if (!in.AtEnd()) listBytes = in.Rest();

  // Both directories first: no directory that a line may name changes while rows are compared.
  const ScratchDir dir;
  const ScratchDir out;
  QStringList made;
  for (const QByteArray& name : names)
    if (MakeFile(dir.Path(), name)) made << FromNativePath(dir.Path() + '/' + name);
  const QByteArray listPath = dir.Path() + "/list.ini";
  if (!WriteBytes(listPath, listBytes)) return 0;

  SoundList read;
  LoadListFile(read, FromNativePath(listPath), false);
  // Rows added by hand may hold what no line can: line breaks, a CR at the end.
  read.AddPaths(made, true);

  const QString savedPath = FromNativePath(out.Path() + "/saved.ini");
  FUZZ_CHECK(SaveListFile(read, savedPath));
  SoundList reread;
  FUZZ_CHECK(LoadListFile(reread, savedPath, false) == read.RowCount());
  if (!SameRows(read, reread, FromNativePath(dir.Path() + '/'))) {
    for (const SoundList* list : {&read, &reread}) {
      std::fprintf(stderr, "rows:\n");
      for (int row = 0; row < list->RowCount(); ++row)
        std::fprintf(stderr, "  %s (%lld)\n",
                     ToNativePath(list->RowFullPath(row)).toPercentEncoding("/").constData(),
                     static_cast<long long>(list->RowSize(row)));
    }
    FUZZ_CHECK(!"the rows read back differ");
  }
  return 0;
}
