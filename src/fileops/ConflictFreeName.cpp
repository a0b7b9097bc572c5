#include "fileops/ConflictFreeName.h"

#include "platform/Files.h"
#include "text/PathParts.h"

QString ConflictFreeTargetName(const QString& directory, const QString& fileName, bool smartRename,
                               const QString& sourcePath) {
  if (!smartRename) return fileName;
  const QString target = JoinPath(directory, fileName);
  if (!Files::Exists(target)) return fileName;
  if (!sourcePath.isEmpty() && Files::SameFile(sourcePath, target)) return fileName;
  // Numbers grow until a name is free; a name too long for the file system reports "free" and
  // the move or copy then fails, so the loop always ends.
  for (int number = 1;; ++number) {
    const QString candidate = SmartRenameName(fileName, number);
    if (!Files::Exists(JoinPath(directory, candidate))) return candidate;
  }
}
