// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/NativePath.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace Files {
namespace {

// Native bytes of a path; false for a path that the kernel would silently cut short (an
// embedded NUL) or an empty one.
bool Native(const QString& path, QByteArray* out) {
  *out = ToNativePath(path);
  return !out->isEmpty() && !out->contains('\0');
}

// Closes its descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and reports whether close succeeded (a late write error shows up here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }
  void Reset() { Close(); }

 private:
  int fd_;
};

int RetryOpen(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do fd = ::open(path, flags | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

bool StatPath(const QByteArray& path, struct stat* st) { return ::stat(path.constData(), st) == 0; }

bool SameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Same file, unchanged: what a move checks before it removes the source it copied.
bool SameVersion(const struct stat& a, const struct stat& b) {
  return SameInode(a, b) && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

struct MoveSeam {
  std::function<void(MoveStage)> hook;
  bool copyAlways = false;
};

MoveSeam& Seam() {
  static MoveSeam seam;
  return seam;
}

void CallSeam(MoveStage stage) {
  if (Seam().hook) Seam().hook(stage);
}

// The directory part of a native path, "." when it has none.
QByteArray DirectoryOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  if (slash == 0) return QByteArrayLiteral("/");
  return path.left(slash);
}

// Makes a completed rename or unlink durable; best effort, as not every file system can.
void SyncDirectory(const QByteArray& dir) {
  Fd fd(RetryOpen(dir.constData(), O_RDONLY | O_DIRECTORY));
  if (fd.Valid()) ::fsync(fd.Get());
}

bool WriteAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size_t(size));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= n;
  }
  return true;
}

// Copies from the offset of `in` to its end; size is what fstat reported. copy_file_range
// keeps the data in the kernel (and shares blocks where the file system can); read and write
// where it is not offered or copies nothing (some kernels answer 0 for files of /proc and
// /sys). A file of size > 0 is done once that many bytes are copied, without a last call to
// find its end; size 0 may stand for "not known" (/proc), so such a file is read to its end.
bool CopyData(int in, int out, off_t size) {
  off_t done = 0;
  while (size > 0) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
      return false;
    if (n < 0 || (n == 0 && done == 0)) break;
    if (n == 0) return true;
    done += n;
    if (done >= size) return true;
  }
  // One buffer for every copy: a batch of 10,000 small files should not clear 10,000 buffers.
  thread_local std::vector<char> buffer(1 << 18);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (!WriteAll(out, buffer.data(), n)) return false;
    done += n;
    if (size > 0 && done >= size && size_t(n) < buffer.size()) return true;
  }
}

enum class CopyMode {
  kReplace,    // rename over an existing target
  kNoReplace,  // fail when the target name is taken by the time the copy is complete
};

// The data, permission bits and times of `in` (described by st) into out; with durable, also
// flushed to disk.
bool FillCopy(int in, const struct stat& st, int out, bool durable) {
  if (!CopyData(in, out, st.st_size)) return false;
  // Best effort: file systems such as FAT refuse modes, which is no reason to fail a copy.
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  (void)::fchmod(out, st.st_mode & 07777);
  (void)::futimens(out, times);
  return !durable || ::fsync(out) == 0;
}

enum class Named { kYes, kTaken, kFailed };

// The copy under its own name, which must be free. O_EXCL never opens a file that is there, and
// a copy that fails goes again, so nothing is left behind under the name and nothing is
// replaced (kTaken when the name was taken after all). The name is created directly, as cp
// does: an unnamed file named by linkat costs ext4 two more journal updates per file, a fifth of
// the time of a batch of small files.
Named CopyToFreeName(int in, const struct stat& st, const QByteArray& to, bool durable) {
  Fd out(RetryOpen(to.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600));
  if (!out.Valid()) return errno == EEXIST ? Named::kTaken : Named::kFailed;
  struct stat own {};
  const bool known = ::fstat(out.Get(), &own) == 0;
  const bool written = FillCopy(in, st, out.Get(), durable);
  // A write error that shows only at close fails the copy as well.
  if (out.Close() && written) return Named::kYes;
  // Removed only while the name is still this copy's.
  struct stat now {};
  if (known && ::lstat(to.constData(), &now) == 0 && now.st_dev == own.st_dev &&
      now.st_ino == own.st_ino) {
    ::unlink(to.constData());
  }
  return Named::kFailed;
}

// The copy through a temporary file beside the target that takes the target's name by rename
// (over the target for kReplace, never over a file for kNoReplace) once it is complete. On
// failure the temporary file is removed and an existing target is untouched.
Named CopyThroughTemporary(int in, const struct stat& st, const QByteArray& to, CopyMode mode,
                           bool durable) {
  QByteArray temp = DirectoryOf(to) + "/.plinkbox-XXXXXX";
  Fd out(::mkostemp(temp.data(), O_CLOEXEC));
  if (!out.Valid()) return Named::kFailed;
  const bool written = FillCopy(in, st, out.Get(), durable);
  bool named = false;
  if (out.Close() && written) {
    if (mode == CopyMode::kReplace) {
      named = ::rename(temp.constData(), to.constData()) == 0;
    } else {
      named = ::syscall(SYS_renameat2, AT_FDCWD, temp.constData(), AT_FDCWD, to.constData(),
                        RENAME_NOREPLACE) == 0;
      // Without the flag a hard link does the same: it fails on an existing name. The temporary
      // name then goes.
      if (!named && (errno == EINVAL || errno == ENOSYS)) {
        named = ::link(temp.constData(), to.constData()) == 0;
        const int linkErrno = errno;
        ::unlink(temp.constData());
        errno = linkErrno;
        return named ? Named::kYes : errno == EEXIST ? Named::kTaken : Named::kFailed;
      }
    }
  }
  if (named) return Named::kYes;
  const bool taken = errno == EEXIST;
  ::unlink(temp.constData());
  return taken && mode == CopyMode::kNoReplace ? Named::kTaken : Named::kFailed;
}

// Copies the open regular file `in` (described by st) to `to`. A name that is free is created
// for the copy; replacing a file goes through a temporary file renamed over it once its data,
// permission bits and times are written. durable: flush data and directory to disk first;
// needed when the copy replaces a file or its source is removed afterwards, not when the source
// stays and the name was free. taken, when given, tells whether a kNoReplace copy failed on a
// taken name.
bool CopyOpenFile(int in, const struct stat& st, const QByteArray& to, CopyMode mode,
                  bool targetExists, bool durable, bool* taken) {
  Named named = Named::kTaken;
  if (!targetExists) {
    named = CopyToFreeName(in, st, to, durable);
    // A name taken meanwhile is replaced as it would have been had it been there at the start.
    durable = durable || named == Named::kTaken;
  }
  if (named == Named::kTaken && (targetExists || mode == CopyMode::kReplace)) {
    named = CopyThroughTemporary(in, st, to, mode, durable);
  }
  if (named == Named::kTaken && taken) *taken = true;
  if (named != Named::kYes) return false;
  if (durable) SyncDirectory(DirectoryOf(to));
  return true;
}

// rename(2) that fails on an existing target (errno EEXIST).
bool RenameNoReplaceNative(const QByteArray& src, const QByteArray& dst) {
  if (::syscall(SYS_renameat2, AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(),
                RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system does not know the flag: a hard link fails on an existing name.
  if (::link(src.constData(), dst.constData()) != 0) return false;
  if (::unlink(src.constData()) != 0) {
    ::unlink(dst.constData());
    return false;
  }
  return true;
}

// Followed, so that a link and the file it names count as one file: renaming the link over
// its own target would leave a link to itself and lose the data.
bool SameFileNative(const QByteArray& a, const QByteArray& b) {
  struct stat sa, sb;
  return StatPath(a, &sa) && StatPath(b, &sb) && SameInode(sa, sb);
}

// Move and MoveNoReplace. Across file systems a regular file is copied, and the source is
// removed only when it is still the version that was copied: a file written or replaced
// meanwhile would otherwise be lost.
bool MoveFile(const QString& from, const QString& to, CopyMode mode, bool* taken) {
  QByteArray src, dst;
  if (!Native(from, &src) || !Native(to, &dst)) return false;
  CallSeam(MoveStage::kStart);
  if (Seam().copyAlways) {
    if (SameFileNative(src, dst)) return true;
  } else if (mode == CopyMode::kNoReplace) {
    // Replaces nothing, the source itself neither: a target that is the source shows as taken
    // and is looked at only then.
    if (RenameNoReplaceNative(src, dst)) return true;
    if (errno == EEXIST) {
      if (SameFileNative(src, dst)) return true;
      if (taken) *taken = true;
      return false;
    }
    if (errno != EXDEV) return false;
  } else {
    // A target that does not exist is not the source: one look in the common case.
    struct stat ds, followed;
    if (StatPath(dst, &ds) && StatPath(src, &followed) && SameInode(followed, ds)) return true;
    if (::rename(src.constData(), dst.constData()) == 0) return true;
    if (errno != EXDEV) return false;
  }
  struct stat ss;
  if (::lstat(src.constData(), &ss) != 0 || !S_ISREG(ss.st_mode)) return false;

  Fd in(RetryOpen(src.constData(), O_RDONLY | O_NOFOLLOW));
  struct stat st;
  if (!in.Valid() || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (!CopyOpenFile(in.Get(), st, dst, mode, false, true, taken)) return false;
  in.Close();
  CallSeam(MoveStage::kCopied);
  // The copy is complete and on disk; only now, and only if it is still what was copied, does
  // the source go.
  struct stat now;
  if (::lstat(src.constData(), &now) != 0 || !SameVersion(st, now)) return false;
  if (::unlink(src.constData()) != 0) return false;
  SyncDirectory(DirectoryOf(src));
  return true;
}

// Copy and CopyNoReplace: regular files only, a copy onto the file itself changes nothing.
bool CopyFile(const QString& from, const QString& to, CopyMode mode, bool* taken) {
  QByteArray src, dst;
  if (!Native(from, &src) || !Native(to, &dst)) return false;
  // Non-blocking so that a FIFO given as the source cannot hang the open; only regular files
  // are copied, and on those the flag changes nothing.
  Fd in(RetryOpen(src.constData(), O_RDONLY | O_NONBLOCK));
  struct stat st;
  if (!in.Valid() || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (mode == CopyMode::kNoReplace) {
    // The name is looked at only when it proves taken: callers pick names that are free.
    bool nameTaken = false;
    if (CopyOpenFile(in.Get(), st, dst, mode, false, false, &nameTaken)) return true;
    struct stat ds;
    if (nameTaken && StatPath(dst, &ds) && SameInode(st, ds)) return true;
    if (nameTaken && taken) *taken = true;
    return false;
  }
  struct stat ds;
  const bool targetExists = StatPath(dst, &ds);
  if (targetExists && SameInode(st, ds)) return true;
  if (targetExists && S_ISDIR(ds.st_mode)) return false;
  return CopyOpenFile(in.Get(), st, dst, mode, targetExists, targetExists, taken);
}

}  // namespace

qint64 Size(const QString& path) {
  QByteArray p;
  struct stat st;
  if (!Native(path, &p) || !StatPath(p, &st)) return -1;
  return qint64(st.st_size);
}

bool Exists(const QString& path) {
  QByteArray p;
  struct stat st;
  return Native(path, &p) && StatPath(p, &st);
}

bool NameTaken(const QString& path) {
  QByteArray p;
  struct stat st;
  return Native(path, &p) && ::lstat(p.constData(), &st) == 0;
}

bool IsDirectory(const QString& path) {
  QByteArray p;
  struct stat st;
  return Native(path, &p) && StatPath(p, &st) && S_ISDIR(st.st_mode);
}

bool Delete(const QString& path) {
  QByteArray p;
  return Native(path, &p) && ::unlink(p.constData()) == 0;
}

bool SameFile(const QString& a, const QString& b) {
  QByteArray pa, pb;
  return Native(a, &pa) && Native(b, &pb) && SameFileNative(pa, pb);
}

Identity IdentityOf(const QString& path) {
  QByteArray native;
  struct stat st;
  if (!Native(path, &native) || ::stat(native.constData(), &st) != 0) return {};
  return {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}

bool Move(const QString& from, const QString& to) {
  return MoveFile(from, to, CopyMode::kReplace, nullptr);
}

bool MoveNoReplace(const QString& from, const QString& to, bool* taken) {
  return MoveFile(from, to, CopyMode::kNoReplace, taken);
}

bool Copy(const QString& from, const QString& to) {
  return CopyFile(from, to, CopyMode::kReplace, nullptr);
}

bool CopyNoReplace(const QString& from, const QString& to, bool* taken) {
  return CopyFile(from, to, CopyMode::kNoReplace, taken);
}

bool RenameNoReplace(const QString& from, const QString& to) {
  return RenameNoReplaceBytes(ToNativePath(from), ToNativePath(to));
}

bool RenameNoReplaceBytes(const QByteArray& from, const QByteArray& to) {
  const auto plain = [](const QByteArray& p) { return !p.isEmpty() && !p.contains('\0'); };
  return plain(from) && plain(to) && RenameNoReplaceNative(from, to);
}

bool WriteDurably(const QString& path, const QByteArray& data) {
  QByteArray p;
  if (!Native(path, &p)) return false;
  Fd fd(RetryOpen(p.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
  if (!fd.Valid() || !WriteAll(fd.Get(), data.constData(), data.size()) || ::fsync(fd.Get()) != 0)
    return false;
  // The file's name is durable only with its directory.
  SyncDirectory(DirectoryOf(p));
  return fd.Close();
}

void SetMoveSeam(std::function<void(MoveStage)> hook, bool copyAlways) {
  Seam() = MoveSeam{std::move(hook), copyAlways};
}

bool CreateDirectory(const QString& path) {
  QByteArray p;
  return Native(path, &p) && ::mkdir(p.constData(), 0777) == 0;
}

Listing Enumerate(const QString& directory) {
  Listing listing;
  QByteArray dir;
  if (!Native(directory, &dir)) return listing;
  const int fd = RetryOpen(dir.constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return listing;
  DIR* d = ::fdopendir(fd);
  if (!d) {
    ::close(fd);
    return listing;
  }
  std::vector<QByteArray> files, subdirs, linkedDirs, others;
  bool ok = true;
  for (;;) {
    errno = 0;
    const dirent* e = ::readdir(d);
    if (!e) {
      ok = errno == 0;
      break;
    }
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    unsigned char type = e->d_type;
    struct stat st;
    if (type == DT_UNKNOWN) {
      if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISDIR(st.st_mode)   ? DT_DIR
             : S_ISLNK(st.st_mode) ? DT_LNK
             : S_ISREG(st.st_mode) ? DT_REG
                                   : DT_UNKNOWN;
    }
    // Devices, FIFOs, sockets and dangling links are no sound files: opening a FIFO would
    // block the program.
    const bool linkResolves = type == DT_LNK && ::fstatat(fd, name, &st, 0) == 0;
    if (type == DT_DIR) {
      subdirs.emplace_back(name);
    } else if (type == DT_REG || (linkResolves && S_ISREG(st.st_mode))) {
      files.emplace_back(name);
    } else if (linkResolves && S_ISDIR(st.st_mode)) {
      linkedDirs.emplace_back(name);
    } else {
      others.emplace_back(name);
    }
  }
  ::closedir(d);  // closes fd as well

  auto fill = [](std::vector<QByteArray>& names, QStringList& out) {
    std::sort(names.begin(), names.end());
    out.reserve(qsizetype(names.size()));
    for (const QByteArray& n : names) out.append(FromNativePath(n));
  };
  fill(files, listing.files);
  fill(subdirs, listing.subdirs);
  fill(linkedDirs, listing.linkedDirs);
  fill(others, listing.others);
  listing.nativeFiles = std::move(files);
  listing.ok = ok;
  return listing;
}

}  // namespace Files
