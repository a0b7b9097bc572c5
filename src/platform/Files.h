#pragma once
#include <QString>
#include <QStringList>

// The file services. Every path is a QString in the encoding of NativePath.h.
namespace Files {

// Length in bytes, -1 when there is no such file (directories report their st_size).
qint64 Size(const QString& path);
// True for an existing file or directory (symbolic links are followed).
bool Exists(const QString& path);
bool IsDirectory(const QString& path);
// Plain unlink.
bool Delete(const QString& path);
// rename(2); across file systems copy, then remove the source only after the copy is complete.
// Replaces an existing target. Source and target being the same file: nothing happens, true.
bool Move(const QString& from, const QString& to);
// Copies through a temporary file in the target directory that is renamed over the target, so
// a failed copy never destroys the file it would have replaced. Same file: nothing, true.
bool Copy(const QString& from, const QString& to);
// Copy that fails, leaving everything as it was, when the target name is taken (also when it
// is taken while the copy runs).
bool CopyNoReplace(const QString& from, const QString& to);
// Rename that never replaces an existing file (renameat2 RENAME_NOREPLACE, else link+unlink).
bool RenameNoReplace(const QString& from, const QString& to);
// Creates one directory (its parent must exist).
bool CreateDirectory(const QString& path);
// True when both paths name the same existing file (same device and inode).
bool SameFile(const QString& a, const QString& b);

struct Listing {
  QStringList files;       // names only, no directory; symbolic links to files included
  QStringList subdirs;     // real subdirectories; "." and ".." are left out
  QStringList linkedDirs;  // symbolic links to directories, kept apart so a walk never loops
  bool ok = false;         // false when the directory cannot be read
};
// Files and subdirectories of a directory, separately, each list in byte order of the name.
// Devices, FIFOs, sockets and dangling links are left out: none of them is a sound file, and
// opening a FIFO would block.
Listing Enumerate(const QString& directory);

}  // namespace Files
