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

bool CopyData(int in, int out) {
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
  }
}

enum class CopyMode {
  kReplace,    // rename over an existing target
  kNoReplace,  // fail when the target name is taken by the time the copy is complete
};

// Copies the open regular file `in` (described by st) to `to`: a temporary file beside the
// target receives the data, the permission bits and the times, and only then takes the
// target's name. On failure the temporary file is removed and an existing target is untouched.
// durable: flush data and directory to disk first; needed when the copy replaces a file or
// its source is removed afterwards, not when the source stays and the name was free. taken, when
// given, tells whether a kNoReplace copy failed on a taken name.
bool CopyOpenFile(int in, const struct stat& st, const QByteArray& to, CopyMode mode,
                  bool durable, bool* taken) {
  QByteArray temp = DirectoryOf(to) + "/.plinkbox-XXXXXX";
  Fd out(::mkostemp(temp.data(), O_CLOEXEC));
  if (!out.Valid()) return false;
  bool written = CopyData(in, out.Get());
  if (written) {
    // Best effort: file systems such as FAT refuse modes, which is no reason to fail a copy.
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    (void)::fchmod(out.Get(), st.st_mode & 07777);
    (void)::futimens(out.Get(), times);
    if (durable) written = ::fsync(out.Get()) == 0;
  }
  bool named = false;
  if (out.Close() && written) {
    if (mode == CopyMode::kReplace) {
      named = ::rename(temp.constData(), to.constData()) == 0;
    } else {
      named = ::syscall(SYS_renameat2, AT_FDCWD, temp.constData(), AT_FDCWD, to.constData(),
                        RENAME_NOREPLACE) == 0;
      // Without the flag a hard link does the same: it fails on an existing name.
      if (!named && (errno == EINVAL || errno == ENOSYS))
        named = ::link(temp.constData(), to.constData()) == 0;
      if (!named && errno == EEXIST && taken) *taken = true;
    }
  }
  if (!named || mode == CopyMode::kNoReplace) ::unlink(temp.constData());
  if (!named) return false;
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

// Move and MoveNoReplace. Across file systems a regular file is copied, and the source is
// removed only when it is still the version that was copied: a file written or replaced
// meanwhile would otherwise be lost.
bool MoveFile(const QString& from, const QString& to, CopyMode mode, bool* taken) {
  QByteArray src, dst;
  if (!Native(from, &src) || !Native(to, &dst)) return false;
  CallSeam(MoveStage::kStart);
  struct stat ss, ds;
  if (::lstat(src.constData(), &ss) != 0) return false;
  // Followed, so that a link and the file it names count as one file: renaming the link over
  // its own target would leave a link to itself and lose the data.
  struct stat followed;
  if (StatPath(src, &followed) && StatPath(dst, &ds) && SameInode(followed, ds)) return true;
  if (!Seam().copyAlways) {
    const bool renamed = mode == CopyMode::kReplace
                             ? ::rename(src.constData(), dst.constData()) == 0
                             : RenameNoReplaceNative(src, dst);
    if (renamed) return true;
    if (errno == EEXIST && taken) *taken = true;
    if (errno != EXDEV) return false;
  }
  if (!S_ISREG(ss.st_mode)) return false;

  Fd in(RetryOpen(src.constData(), O_RDONLY | O_NOFOLLOW));
  struct stat st;
  if (!in.Valid() || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (!CopyOpenFile(in.Get(), st, dst, mode, true, taken)) return false;
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
  // are copied.
  Fd in(RetryOpen(src.constData(), O_RDONLY | O_NONBLOCK));
  struct stat st;
  if (!in.Valid() || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const int flags = ::fcntl(in.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(in.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return false;
  struct stat ds;
  const bool targetExists = StatPath(dst, &ds);
  if (targetExists) {
    if (SameInode(st, ds)) return true;
    if (mode == CopyMode::kNoReplace && taken) *taken = true;
    if (S_ISDIR(ds.st_mode) || mode == CopyMode::kNoReplace) return false;
  }
  return CopyOpenFile(in.Get(), st, dst, mode, targetExists, taken);
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
  struct stat sa, sb;
  return Native(a, &pa) && Native(b, &pb) && StatPath(pa, &sa) && StatPath(pb, &sb) &&
         SameInode(sa, sb);
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
  QByteArray src, dst;
  return Native(from, &src) && Native(to, &dst) && RenameNoReplaceNative(src, dst);
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
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK
                                        : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
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
  listing.ok = ok;
  return listing;
}

}  // namespace Files
