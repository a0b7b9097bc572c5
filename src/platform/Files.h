// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHashFunctions>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The file services. Every path is a QString in the encoding of NativePath.h.
namespace Files {

// Length in bytes, -1 when there is no such file (directories report their st_size).
qint64 Size(const QString& path);
// True for an existing file or directory (symbolic links are followed).
bool Exists(const QString& path);
// True when the name is in use by anything, a dangling symbolic link too (links not followed).
bool NameTaken(const QString& path);
bool IsDirectory(const QString& path);
// Plain unlink.
bool Delete(const QString& path);
// rename(2); across file systems copy, then remove the source only after the copy is complete
// and only when the source is still the file copied (same device, inode, size and modification
// time); otherwise both stay and the move fails. Replaces an existing target. Source and target
// being the same file: nothing happens, true.
bool Move(const QString& from, const QString& to);
// Move that fails, leaving everything as it was, when the target name is taken (also when it is
// taken while a copy across file systems runs); then *taken, when given, is set.
bool MoveNoReplace(const QString& from, const QString& to, bool* taken = nullptr);
// A free name is created for the copy (never opening a file that is there) and removed again
// if the copy fails; an existing file is replaced by a temporary file renamed over it once its
// data, mode and times are written, so a failed copy never destroys the file it would have
// replaced. Same file: nothing, true.
bool Copy(const QString& from, const QString& to);
// Copy that fails, leaving everything as it was, when the target name is taken (also when it
// is taken while the copy runs); then *taken, when given, is set.
bool CopyNoReplace(const QString& from, const QString& to, bool* taken = nullptr);
// Rename that never replaces an existing file (renameat2 RENAME_NOREPLACE, else link+unlink).
bool RenameNoReplace(const QString& from, const QString& to);
// The same with paths as the file system takes them (NativePath.h), for a caller that
// converts a directory once for many renames in it.
bool RenameNoReplaceBytes(const QByteArray& from, const QByteArray& to);
// Creates or overwrites a small file and has it and its name on the disk (fsync) on return.
bool WriteDurably(const QString& path, const QByteArray& data);
// Creates one directory (its parent must exist).
bool CreateDirectory(const QString& path);
// True when both paths name the same existing file (same device and inode).
bool SameFile(const QString& a, const QString& b);

// Device and inode of an entry (symbolic links followed); all zero when it does not exist.
struct Identity {
  quint64 device = 0;
  quint64 inode = 0;
  bool operator==(const Identity&) const = default;
};
inline size_t qHash(const Identity& id, size_t seed = 0) {
  return ::qHash(id.device, seed) ^ ::qHash(id.inode, seed + 1);
}
Identity IdentityOf(const QString& path);

// For tests, which change the files while a move runs. The hook is called by Move and
// MoveNoReplace before they touch anything (kStart) and, when they copy, between the copy and
// the removal of the source (kCopied). copyAlways makes every move copy, as across file
// systems. An empty hook restores the plain moves.
enum class MoveStage { kStart, kCopied };
void SetMoveSeam(std::function<void(MoveStage)> hook, bool copyAlways);

struct Listing {
  QStringList files;       // names only, no directory; symbolic links to files included
  QStringList subdirs;     // real subdirectories; "." and ".." are left out
  QStringList linkedDirs;  // symbolic links to directories, kept apart so a walk never loops
  QStringList others;      // devices, FIFOs, sockets, dangling links
  std::vector<QByteArray> nativeFiles;  // the names of files as the file system gives them
  bool ok = false;                      // false when the directory cannot be read
};
// Files and subdirectories of a directory, separately, each list in byte order of the name.
// Devices, FIFOs, sockets and dangling links are listed apart: none of them is a sound file,
// and opening a FIFO would block.
Listing Enumerate(const QString& directory);

}  // namespace Files
